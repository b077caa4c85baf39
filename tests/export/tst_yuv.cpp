#include "export/yuv.h"

#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

namespace {

struct Planes {
    int l, h;
    std::vector<uint8_t> y, u, v;
    // Strides wider than the picture, so a row mixed up with the next one shows.
    int pasy() const { return l + 5; }
    int pasc() const { return (l + 1) / 2 + 3; }
    Planes(int l, int h)
        : l(l), h(h), y(static_cast<size_t>(pasy()) * h, 7),
          u(static_cast<size_t>(pasc()) * ((h + 1) / 2), 7),
          v(static_cast<size_t>(pasc()) * ((h + 1) / 2), 7) {}
    int Y(int x, int j) const { return y[static_cast<size_t>(j) * pasy() + x]; }
    int U(int x, int j) const { return u[static_cast<size_t>(j) * pasc() + x]; }
    int V(int x, int j) const { return v[static_cast<size_t>(j) * pasc() + x]; }
};

Planes convertit(const std::vector<uint32_t>& rgb, int pas, int l, int h, bool pleine) {
    Planes p(l, h);
    rgbversyuv420(rgb.data(), pas, l, h, p.y.data(), p.pasy(), p.u.data(), p.pasc(), p.v.data(),
                  p.pasc(), pleine);
    return p;
}

} // namespace

class TstYuv : public QObject {
    Q_OBJECT

  private slots:
    // The BT.601 values of the primaries, in both ranges.
    void couleursConnues_data() {
        QTest::addColumn<uint>("rgb");
        QTest::addColumn<bool>("pleine");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("u");
        QTest::addColumn<int>("v");
        QTest::newRow("noir") << 0xff000000u << false << 16 << 128 << 128;
        QTest::newRow("blanc") << 0xffffffffu << false << 235 << 128 << 128;
        QTest::newRow("rouge") << 0xffff0000u << false << 81 << 90 << 240;
        QTest::newRow("vert") << 0xff00ff00u << false << 145 << 54 << 34;
        QTest::newRow("bleu") << 0xff0000ffu << false << 41 << 240 << 110;
        QTest::newRow("noir plein") << 0xff000000u << true << 0 << 128 << 128;
        QTest::newRow("blanc plein") << 0xffffffffu << true << 255 << 128 << 128;
        QTest::newRow("rouge plein") << 0xffff0000u << true << 76 << 85 << 255;
        QTest::newRow("bleu plein") << 0xff0000ffu << true << 29 << 255 << 107;
    }
    void couleursConnues() {
        QFETCH(uint, rgb);
        QFETCH(bool, pleine);
        QFETCH(int, y);
        QFETCH(int, u);
        QFETCH(int, v);
        const std::vector<uint32_t> image(6 * 4, rgb);
        const Planes p = convertit(image, 6, 6, 4, pleine);
        for (int j = 0; j < 4; ++j)
            for (int x = 0; x < 6; ++x)
                QCOMPARE(p.Y(x, j), y);
        for (int j = 0; j < 2; ++j)
            for (int x = 0; x < 3; ++x) {
                QCOMPARE(p.U(x, j), u);
                QCOMPARE(p.V(x, j), v);
            }
    }

    // Each chroma sample is its own block's mean; odd sides repeat the last row or column, and
    // nothing is written beyond the planes' widths.
    void blocsEtCotesImpairs() {
        const int l = 5, h = 3, pas = 8;
        std::vector<uint32_t> image(static_cast<size_t>(pas) * h, 0xff123456);
        for (int j = 0; j < h; ++j)
            for (int x = 0; x < l; ++x)
                image[static_cast<size_t>(j) * pas + x] =
                    (x / 2 + 2 * (j / 2)) % 2 ? 0xffffffff : 0xff000000;
        const Planes p = convertit(image, pas, l, h, true);
        for (int j = 0; j < h; ++j) {
            for (int x = 0; x < l; ++x)
                QCOMPARE(p.Y(x, j), image[static_cast<size_t>(j) * pas + x] & 1 ? 255 : 0);
            for (int x = l; x < p.pasy(); ++x)
                QCOMPARE(p.Y(x, j), 7);
        }
        // Blocks alternate black and white; the blocks of the last column and row are single
        // pixels or pairs, taken whole.
        for (int j = 0; j < 2; ++j) {
            for (int x = 0; x < 3; ++x) {
                QCOMPARE(p.U(x, j), 128);
                const bool blanc = (x + 2 * j) % 2;
                QCOMPARE(p.V(x, j), 128);
                QCOMPARE(p.Y(2 * x, 2 * j), blanc ? 255 : 0);
            }
            for (int x = 3; x < p.pasc(); ++x)
                QCOMPARE(p.U(x, j), 7);
        }
        // A block half red, half blue: its mean.
        std::vector<uint32_t> deux = {0xffff0000, 0xff0000ff, 0xffff0000, 0xff0000ff};
        const Planes m = convertit(deux, 2, 2, 2, true);
        QCOMPARE(m.U(0, 0), 170); // 128 + (-0.168736 * 255 + 0.5 * 255) / 2
        QCOMPARE(m.V(0, 0), 181); // 128 + (0.5 * 255 - 0.081312 * 255) / 2
    }

    // Agrees with FFmpeg's own converter, set up as the video writer used to set it, on a
    // smooth picture of the film's size.
    void commeFfmpeg_data() {
        QTest::addColumn<bool>("pleine");
        QTest::newRow("video") << false;
        QTest::newRow("plein") << true;
    }
    void commeFfmpeg() {
        QFETCH(bool, pleine);
        const int l = 720, h = 576;
        std::vector<uint32_t> image(static_cast<size_t>(l) * h);
        for (int j = 0; j < h; ++j)
            for (int x = 0; x < l; ++x)
                image[static_cast<size_t>(j) * l + x] = 0xff000000u | (x * 255 / l) << 16 |
                                                        (j * 255 / h) << 8 |
                                                        ((x + j) * 127 / (l + h));
        const Planes p = convertit(image, l, l, h, pleine);

        SwsContext* c = sws_getContext(l, h, AV_PIX_FMT_RGB32, l, h, AV_PIX_FMT_YUV420P,
                                       SWS_BILINEAR | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
        QVERIFY(c);
        const int* coefs = sws_getCoefficients(SWS_CS_ITU601);
        sws_setColorspaceDetails(c, coefs, pleine, coefs, pleine, 0, 1 << 16, 1 << 16);
        Planes f(l, h);
        const uint8_t* source = reinterpret_cast<const uint8_t*>(image.data());
        const int pas = l * 4;
        uint8_t* plans[] = {f.y.data(), f.u.data(), f.v.data()};
        const int pasplans[] = {f.pasy(), f.pasc(), f.pasc()};
        sws_scale(c, &source, &pas, 0, h, plans, pasplans);
        sws_freeContext(c);

        int pire = 0;
        for (int j = 0; j < h; ++j)
            for (int x = 0; x < l; ++x)
                pire = std::max(pire, std::abs(p.Y(x, j) - f.Y(x, j)));
        QVERIFY2(pire <= 1, qPrintable(QString::number(pire)));
        pire = 0;
        for (int j = 0; j < h / 2; ++j)
            for (int x = 0; x < l / 2; ++x)
                pire = std::max(
                    {pire, std::abs(p.U(x, j) - f.U(x, j)), std::abs(p.V(x, j) - f.V(x, j))});
        QVERIFY2(pire <= 2, qPrintable(QString::number(pire)));
    }
};

QTEST_APPLESS_MAIN(TstYuv)
#include "tst_yuv.moc"
