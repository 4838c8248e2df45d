#pragma once

#include <QtGlobal>

// Milliseconds since the first call, on a clock that never jumps: the
// default clock of everything that paces or times out, which tests replace
// with their own.
qint64 monotonicMs();
