#include "temporaryfiles.h"

#include <climits>
#include <csignal>
#include <cstring>

#include <atomic>

#include <unistd.h>

namespace {

// The signal handler reads this table: fixed storage, a slot's name is complete before it is marked
// ready, and nothing in it is ever allocated.
struct Slot {
    std::atomic<int> state{0}; // 0 free, 1 being filled or emptied, 2 ready
    char name[PATH_MAX];
};
constexpr int slotCount = 32;
Slot registry[slotCount];

constexpr int interruptions[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeAndEnd(int signalNumber) {
    for (Slot &slot : registry)
        if (slot.state.load() == 2)
            ::unlink(slot.name);
    // Ends the program as the signal itself would have, so that the caller sees why.
    std::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

} // namespace

void removeTemporaryFilesOnInterrupt() {
    static std::atomic<bool> installed{false};
    if (installed.exchange(true))
        return;
    for (const int signalNumber : interruptions) {
        struct sigaction previous {};
        if (::sigaction(signalNumber, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = &removeAndEnd;
        sigemptyset(&action.sa_mask);
        for (const int other : interruptions)
            sigaddset(&action.sa_mask, other);
        ::sigaction(signalNumber, &action, nullptr);
    }
}

int registerTemporaryFile(const QByteArray &nativeName) {
    if (nativeName.size() >= PATH_MAX)
        return -1;
    for (int i = 0; i < slotCount; ++i) {
        int expected = 0;
        if (!registry[i].state.compare_exchange_strong(expected, 1))
            continue;
        std::memcpy(registry[i].name, nativeName.constData(), static_cast<size_t>(nativeName.size()));
        registry[i].name[nativeName.size()] = '\0';
        registry[i].state.store(2);
        return i;
    }
    return -1;
}

void unregisterTemporaryFile(int slot) {
    if (slot >= 0 && slot < slotCount)
        registry[slot].state.store(0);
}
