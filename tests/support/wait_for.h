#pragma once
// waitFor: runs the Qt event loop until a condition holds or a time has passed, for the tests
// of windows and programs (they wait on what they expect, never for a fixed time).

#include <QTest>

namespace lexora::test {

// True as soon as done() is; false when it is still not after `ms` milliseconds.
template <typename F>
bool waitFor(F done, int ms = 10000) {
  for (int waited = 0; waited < ms && !done(); waited += 25) QTest::qWait(25);
  return done();
}

}  // namespace lexora::test
