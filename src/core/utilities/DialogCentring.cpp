#include "core/utilities/DialogCentring.h"

namespace tavrin {

DialogPlace centredOn(int areaLeft, int areaTop, int areaWidth, int areaHeight, int dialogWidth,
                      int dialogHeight) {
    return DialogPlace{areaLeft + (areaWidth - dialogWidth) / 2, areaTop + (areaHeight - dialogHeight) / 2};
}

}  // namespace tavrin
