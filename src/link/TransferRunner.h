#pragma once
// Runs one transfer on its worker thread and waits for its result, calling
// `tick` with the time spent every `tickMs` meanwhile (a command line's
// progress display).
#include <functional>

#include "link/PagerTransfer.h"

enum class TransferKind { Read, Write };

TransferOutcome RunTransfer(TransferKind kind, CCommPort& port, CCodeplug& plug,
                            const std::function<void(int elapsedMs)>& tick = {}, int tickMs = 100);
