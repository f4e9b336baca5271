#include "core/display/PictureMap.h"

#include <algorithm>

namespace servo {

PictureMap pictureMap(double width, double height, bool trueProportions) {
    width = std::max(width, 1.0);
    height = std::max(height, 1.0);
    PictureMap map;
    map.spanX = width;
    map.spanY = height;
    if (trueProportions) {
        // Pixels per arm unit: as many as let the whole rectangle fit either way.
        const double across = PictureMap::UnitsAcross / WindowUnitsPerArmUnitX; // arm units
        const double perArmUnit = std::min(width / across, height / PictureMap::UnitsDown);
        map.spanX = across * perArmUnit;
        map.spanY = PictureMap::UnitsDown * perArmUnit;
        map.offsetX = (width - map.spanX) / 2;
        map.offsetY = (height - map.spanY) / 2;
    }
    map.scaleX = map.spanX / PictureMap::UnitsAcross;
    map.scaleY = map.spanY / PictureMap::UnitsDown;
    return map;
}

} // namespace servo
