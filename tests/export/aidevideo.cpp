#include "aidevideo.h"

#include "export/yuv.h"

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

QImage versrgb(const AVFrame* f, bool alpha) {
    QImage img(f->width, f->height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    SwsContext* sws =
        sws_getContext(f->width, f->height, static_cast<AVPixelFormat>(f->format), f->width,
                       f->height, AV_PIX_FMT_RGB32, SWS_POINT, nullptr, nullptr, nullptr);
    uint8_t* dst = img.bits();
    const int pas = static_cast<int>(img.bytesPerLine());
    sws_scale(sws, f->data, f->linesize, 0, f->height, &dst, &pas);
    sws_freeContext(sws);
    if (alpha) return img;
    // Keep only the colour: decoders differ on what they put in the unused byte.
    for (int y = 0; y < img.height(); ++y) {
        auto* l = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            l[x] |= 0xff000000;
    }
    return img;
}

} // namespace

Relue relis(const QString& chemin, bool alpha) {
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
    // FFmpeg's own VP9 decoder leaves the alpha channel out; libvpx's reads it.
    const AVCodec* c = alpha && st->codecpar->codec_id == AV_CODEC_ID_VP9
                           ? avcodec_find_decoder_by_name("libvpx-vp9")
                           : avcodec_find_decoder(st->codecpar->codec_id);
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
            r.images.append(versrgb(f.get(), alpha));
    };
    int lu;
    long long premier = -1;
    const AVRational image = av_inv_q(st->avg_frame_rate);
    while ((lu = av_read_frame(fc.get(), p.get())) == 0) {
        if (p->pts != AV_NOPTS_VALUE) {
            const long long n = av_rescale_q(p->pts, st->time_base, image);
            if (premier < 0) premier = n;
            if (p->flags & AV_PKT_FLAG_KEY) r.cles.append(n - premier);
        }
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

QImage par420(const QImage& img) {
    const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
    std::unique_ptr<AVFrame, Libere> f(av_frame_alloc());
    f->format = AV_PIX_FMT_YUV420P;
    f->width = rgb.width();
    f->height = rgb.height();
    if (av_frame_get_buffer(f.get(), 0) < 0) return {};
    rgbversyuv420(reinterpret_cast<const uint32_t*>(rgb.constBits()),
                  static_cast<int>(rgb.bytesPerLine() / 4), rgb.width(), rgb.height(), f->data[0],
                  f->linesize[0], f->data[1], f->linesize[1], f->data[2], f->linesize[2], false);
    return versrgb(f.get(), false);
}
