// How far the picture has been moved on each axis since the page opened,
// with the moves' bounds and the way back. Never read from the hardware.
#pragma once

class ScreenPosition {
 public:
  void moveUp();
  void moveDown();
  void moveLeft();
  void moveRight();
  // Takes the applied offsets off the retrace again; both shifts always run.
  void reset();
  // Makes the retrace as it stands now the start position; no port access.
  void clearOffsets();

  int verticalOffset = 0;    // even, -10 to +10
  int horizontalOffset = 0;  // -4 to +3
};

extern ScreenPosition modulePosition;
