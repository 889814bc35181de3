// Pixel rules of the kit's pictures, on 32-bit BGRA rows (blue first, as a
// Windows DIB holds them).
//
//   PremultiplyBgra(pixels, count)  straight alpha -> premultiplied alpha, the
//                                   form the system's alpha blending expects
//   GreyBgra(pixels, count)         the greyed look of a disabled picture:
//                                   grey of the same lightness, lifted towards
//                                   white, alpha kept (premultiplied in, out)
#pragma once
#include <cstddef>
#include <cstdint>

namespace picture_pixels {

void PremultiplyBgra(std::uint8_t* pixels, std::size_t pixelCount);

void GreyBgra(std::uint8_t* pixels, std::size_t pixelCount);

}  // namespace picture_pixels
