#pragma once
#include <functional>
#include <thread>

namespace runtime {

// Work begun on a second thread so that it is done by the time the main thread needs it; wait()
// joins it, and so does the destructor, so it must go before anything the work uses. Only work
// that someone does anyway when first needed belongs here: without a second thread (a process at
// its limit of threads), nothing runs.
class WarmUp {
public:
    explicit WarmUp(const std::function<void()> &work);
    ~WarmUp();
    WarmUp(const WarmUp &) = delete;
    WarmUp &operator=(const WarmUp &) = delete;
    void wait();

private:
    std::thread m_thread;
};

} // namespace runtime
