#include "page/screen_position.h"

#include "page/crtc_registers.h"

ScreenPosition modulePosition;

namespace {

// Vertical moves go by two lines, at most five steps either way.
const int verticalStep = 2;
const int upBound = 10;
const int downBound = -10;

// Horizontal moves go by one character clock: three steps left, four right.
const int horizontalStep = 1;
const int leftBound = 3;
const int rightBound = -4;

}  // namespace

void ScreenPosition::moveUp() {
  if (verticalOffset >= upBound) return;
  verticalOffset += verticalStep;
  moduleCrtc.shiftRetrace(Vertical, verticalStep);
}

void ScreenPosition::moveDown() {
  if (verticalOffset <= downBound) return;
  verticalOffset -= verticalStep;
  moduleCrtc.shiftRetrace(Vertical, -verticalStep);
}

void ScreenPosition::moveLeft() {
  if (horizontalOffset >= leftBound) return;
  horizontalOffset += horizontalStep;
  moduleCrtc.shiftRetrace(Horizontal, horizontalStep);
}

void ScreenPosition::moveRight() {
  if (horizontalOffset <= rightBound) return;
  horizontalOffset -= horizontalStep;
  moduleCrtc.shiftRetrace(Horizontal, -horizontalStep);
}

void ScreenPosition::reset() {
  moduleCrtc.shiftRetrace(Vertical, -verticalOffset);
  moduleCrtc.shiftRetrace(Horizontal, -horizontalOffset);
  verticalOffset = 0;
  horizontalOffset = 0;
}

void ScreenPosition::clearOffsets() {
  verticalOffset = 0;
  horizontalOffset = 0;
}
