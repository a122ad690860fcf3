#pragma once
// Whether the work on one file may take more cores than the thread it runs
// on. A batch that already shares its files out over the cores says no for
// its worker threads, so the cores are not asked for twice.
namespace kobalto::platform {

// The cores this process may run on that nothing else is running on at this
// moment, besides the calling thread's own; or what a ScopedSpareCores
// living on this thread says.
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
