#pragma once
// Whether the work on one file may take more cores than the thread it runs
// on. A batch that already shares its files out over the cores says no for
// its worker threads, so the cores are not asked for twice.
namespace kobalto::platform {

// The cores this process may run on that nothing else is running on,
// besides the calling thread's own: at this moment, or at one of a few more
// looks over about a millisecond when the first finds none (at most that
// long a wait, on a busy machine). Or what a ScopedSpareCores living on this
// thread says.
unsigned SpareCores();

// While alive, SpareCores() on this thread answers cores.
class ScopedSpareCores {
public:
    explicit ScopedSpareCores(unsigned cores);
    ~ScopedSpareCores();
    ScopedSpareCores(const ScopedSpareCores&) = delete;
    ScopedSpareCores& operator=(const ScopedSpareCores&) = delete;

private:
    int previous_;
};

}  // namespace kobalto::platform
