#pragma once

namespace runtime {

// Replaces a process-wide instance for the lifetime of a scope and puts the previous one back,
// so that nested replacements unwind in order. `current` returns the instance in use; `install`
// makes another one current (null installs the real one).
template <class T, T &(*current)(), void (*install)(T *)> class ScopedOverride {
public:
    explicit ScopedOverride(T &replacement) : m_previous(&current()) { install(&replacement); }
    ~ScopedOverride() { install(m_previous); }
    ScopedOverride(const ScopedOverride &) = delete;
    ScopedOverride &operator=(const ScopedOverride &) = delete;

private:
    T *m_previous;
};

} // namespace runtime
