#pragma once

#include <cstdint>

// Converts pixels 0xffRRGGBB (`pas` pixels from one row to the next) to planar YUV 4:2:0 with
// the BT.601 coefficients: video range (Y 16..235) for MPEG-4 and H.264, full range for JPEG.
// Each chroma sample is the mean of its 2 x 2 block; on an odd side the last column or row
// stands for the missing one. Results are rounded to the nearest.
void rgbversyuv420(const uint32_t* rgb, int pas, int largeur, int hauteur, uint8_t* y, int pasy,
                   uint8_t* u, int pasu, uint8_t* v, int pasv, bool pleine);
