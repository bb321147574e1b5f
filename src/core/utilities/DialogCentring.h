#pragma once
// Where a dialog goes to sit in the middle of its owner (or of the screen).
namespace tavrin {

struct DialogPlace {
    int left = 0;
    int top = 0;
    friend bool operator==(const DialogPlace&, const DialogPlace&) = default;
};

// The top-left corner that centres a dialog of the given size on the area, in whole pixels.
DialogPlace centredOn(int areaLeft, int areaTop, int areaWidth, int areaHeight, int dialogWidth,
                      int dialogHeight);

}  // namespace tavrin
