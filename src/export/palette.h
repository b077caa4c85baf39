// A palette made for a whole film (GIF and paletted APNG hold at most 256 colours): the colours
// of frames sampled over the film are counted, cut down by median cut, and every pixel then
// takes its nearest palette colour through a lookup table. One palette for the whole film keeps
// the map from flickering from frame to frame, and the memory used stays the same for any length.
#pragma once

#include <QImage>
#include <QList>

#include <cstdint>
#include <vector>

class Palette {
  public:
    Palette();
    // Counts the colours of one sampled frame (32-bit pixels).
    void ajoute(const QImage& img);
    // At most `couleurs` (2..256) colours, opaque; none when nothing was counted. The colours
    // `imposees` (the route's, the legend's: few pixels, but what the film is about) come first
    // and exactly, up to half the palette; the counted colours share the rest.
    QList<QRgb> calcule(int couleurs, const QList<QRgb>& imposees = {}) const;

  private:
    std::vector<uint32_t> compte; // per 5-5-5 cell
    std::vector<uint64_t> somme;  // per cell: sums of red, green and blue
};

// Nearest-colour lookup for 6-6-6 cells; `couleurs` must not be empty.
class Table {
  public:
    explicit Table(const QList<QRgb>& couleurs);
    uint8_t index(QRgb p) const {
        return cases[((p >> 18) & 63) << 12 | ((p >> 10) & 63) << 6 | ((p >> 2) & 63)];
    }
    // Rows of 32-bit pixels to palette indices.
    void convertit(const QImage& img, uint8_t* dest, int pas) const;

  private:
    std::vector<uint8_t> cases;
};
