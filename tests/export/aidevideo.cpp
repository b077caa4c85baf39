#include "aidevideo.h"

#include <QFile>

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace {

struct Libere {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
    void operator()(AVFrame* f) const { av_frame_free(&f); }
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

QImage versrgb(const AVFrame* f) {
    QImage img(f->width, f->height, QImage::Format_RGB32);
    SwsContext* sws =
        sws_getContext(f->width, f->height, static_cast<AVPixelFormat>(f->format), f->width,
                       f->height, AV_PIX_FMT_RGB32, SWS_POINT, nullptr, nullptr, nullptr);
    uint8_t* dst = img.bits();
    const int pas = static_cast<int>(img.bytesPerLine());
    sws_scale(sws, f->data, f->linesize, 0, f->height, &dst, &pas);
    sws_freeContext(sws);
    // Keep only the colour: decoders differ on what they put in the unused byte.
    for (int y = 0; y < img.height(); ++y) {
        auto* l = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            l[x] |= 0xff000000;
    }
    return img;
}

} // namespace

Relue relis(const QString& chemin) {
    Relue r;
    AVFormatContext* brut = nullptr;
    const QByteArray url = "file:" + QFile::encodeName(chemin);
    if (avformat_open_input(&brut, url.constData(), nullptr, nullptr) < 0) {
        r.erreur = QStringLiteral("ouverture");
        return r;
    }
    std::unique_ptr<AVFormatContext, Libere> fc(brut);
    if (avformat_find_stream_info(fc.get(), nullptr) < 0 || fc->nb_streams != 1) {
        r.erreur = QStringLiteral("flux");
        return r;
    }
    const AVStream* st = fc->streams[0];
    r.largeur = st->codecpar->width;
    r.hauteur = st->codecpar->height;
    r.ipsnum = st->avg_frame_rate.num;
    r.ipsden = st->avg_frame_rate.den;
    r.declarees = st->nb_frames;
    const AVCodec* c = avcodec_find_decoder(st->codecpar->codec_id);
    if (!c) {
        r.erreur = QStringLiteral("décodeur");
        return r;
    }
    r.codec = QString::fromLatin1(c->name);
    std::unique_ptr<AVCodecContext, Libere> dec(avcodec_alloc_context3(c));
    avcodec_parameters_to_context(dec.get(), st->codecpar);
    if (avcodec_open2(dec.get(), c, nullptr) < 0) {
        r.erreur = QStringLiteral("décodeur");
        return r;
    }
    std::unique_ptr<AVPacket, Libere> p(av_packet_alloc());
    std::unique_ptr<AVFrame, Libere> f(av_frame_alloc());
    auto recoit = [&] {
        while (avcodec_receive_frame(dec.get(), f.get()) == 0)
            r.images.append(versrgb(f.get()));
    };
    int lu;
    while ((lu = av_read_frame(fc.get(), p.get())) == 0) {
        const int envoi = avcodec_send_packet(dec.get(), p.get());
        av_packet_unref(p.get());
        if (envoi < 0) {
            r.erreur = QStringLiteral("paquet");
            return r;
        }
        recoit();
    }
    if (lu != AVERROR_EOF) r.erreur = QStringLiteral("lecture");
    avcodec_send_packet(dec.get(), nullptr);
    recoit();
    return r;
}
