// The coefficient of horizontal subgrade reaction of layered ground as Chang's method takes it:
// the thickness-weighted mean over the depth 1/β below the virtual ground surface, the last layer
// going on below the depth examined. Units: m, kN/m3.
#pragma once

#include <vector>

#include "model/design.h"

namespace kuvelt {

// One layer's share of the depth averaged over.
struct KhPart {
    double top = 0.0;        // elevation of the share's top, m
    double thickness = 0.0;  // m
    double kh = 0.0;         // the layer's Kh, kN/m3
};

// The shares of the layers in the `depth` below the elevation `top`, from the top down.
std::vector<KhPart> KhPartsBelow(const std::vector<CInpJibanLayer>& layers, double top,
                                 double depth);
// Their thickness-weighted mean; exactly the layers' Kh when all shares have the same one.
double MeanKh(const std::vector<KhPart>& parts);

}  // namespace kuvelt
