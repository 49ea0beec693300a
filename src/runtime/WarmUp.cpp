#include "WarmUp.h"

#include <system_error>

namespace runtime {

WarmUp::WarmUp(const std::function<void()> &work)
{
    try {
        m_thread = std::thread(work);
    } catch (const std::system_error &) {
    }
}

WarmUp::~WarmUp() { wait(); }

void WarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace runtime
