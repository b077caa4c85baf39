#include "export/video.h"

#include "export/yuv.h"

#include <QFile>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {

struct Reglage {
    Codec codec;
    AVCodecID id;
    const char* encodeur; // preferred encoder by name, else the build's default for `id`
    AVPixelFormat format;
    const char* nom;
    const char* ligne;
    bool qualite, debit, inter;
};

// AV_PIX_FMT_RGB32 is the pixel of a Format_RGB32 QImage (0xffRRGGBB in native order); the
// lossless codecs take it, or an exact planar copy of it, so their frames decode bit for bit.
const Reglage REGLAGES[] = {
    {Codec::rgb, AV_CODEC_ID_RAWVIDEO, nullptr, AV_PIX_FMT_BGR24, "RGB non compressé", "rgb", false,
     false, false},
    {Codec::mjpeg, AV_CODEC_ID_MJPEG, nullptr, AV_PIX_FMT_YUV420P, "MJPEG", "mjpeg", true, false,
     false},
    {Codec::ffv1, AV_CODEC_ID_FFV1, nullptr, AV_PIX_FMT_0RGB32, "FFV1 (sans perte)", "ffv1", false,
     false, false},
    {Codec::huffyuv, AV_CODEC_ID_HUFFYUV, nullptr, AV_PIX_FMT_RGB32, "HuffYUV (sans perte)",
     "huffyuv", false, false, false},
    {Codec::utvideo, AV_CODEC_ID_UTVIDEO, nullptr, AV_PIX_FMT_GBRP, "Ut Video (sans perte)",
     "utvideo", false, false, false},
    {Codec::mpeg4, AV_CODEC_ID_MPEG4, nullptr, AV_PIX_FMT_YUV420P, "MPEG-4 Part 2", "mpeg4", false,
     true, true},
    {Codec::h264, AV_CODEC_ID_H264, "libx264", AV_PIX_FMT_YUV420P, "H.264", "h264", false, true,
     true},
};

const AVCodec* encodeur(const Reglage& r) {
    if (r.encodeur)
        if (const AVCodec* c = avcodec_find_encoder_by_name(r.encodeur)) return c;
    return avcodec_find_encoder(r.id);
}

bool prendformat(const AVCodec* c, AVPixelFormat f) {
    if (!c->pix_fmts) return true;
    for (const AVPixelFormat* p = c->pix_fmts; *p != AV_PIX_FMT_NONE; ++p)
        if (*p == f) return true;
    return false;
}

// The encoder of `r` when this build has one that takes our pixels and AVI can hold its codec.
const AVCodec* disponible(const Reglage& r) {
    const AVCodec* c = encodeur(r);
    if (!c || !prendformat(c, r.format)) return nullptr;
    const AVOutputFormat* avi = av_guess_format("avi", nullptr, nullptr);
    if (!avi || avformat_query_codec(avi, r.id, FF_COMPLIANCE_NORMAL) != 1) return nullptr;
    return c;
}

const Reglage* reglage(Codec c) {
    for (const Reglage& r : REGLAGES)
        if (r.codec == c) return &r;
    return nullptr;
}

} // namespace

QList<CodecVideo> codecsvideo() {
    QList<CodecVideo> liste;
    for (const Reglage& r : REGLAGES)
        if (disponible(r))
            liste.append({r.codec, QString::fromUtf8(r.nom), QString::fromLatin1(r.ligne),
                          r.qualite, r.debit, r.inter});
    return liste;
}

const QStringList& nomscodecs() {
    static const QStringList noms = [] {
        QStringList n;
        for (const Reglage& r : REGLAGES)
            n.append(QString::fromLatin1(r.ligne));
        return n;
    }();
    return noms;
}

std::optional<Codec> codecdepuisnom(const QString& ligne) {
    for (const CodecVideo& c : codecsvideo())
        if (c.ligne == ligne) return c.codec;
    return std::nullopt;
}

// The encoder runs on a thread of its own, one frame behind the caller: the caller composes a
// frame and converts it to the encoder's pixels while the previous one is encoded and written.
struct EcritureVideo::Ffmpeg {
    AVFormatContext* fc = nullptr;
    AVCodecContext* enc = nullptr;
    AVStream* st = nullptr;
    SwsContext* sws = nullptr; // used by the caller's thread only
    AVPacket* paquet = nullptr;
    bool entete = false;   // the header is written, so the file needs its trailer
    bool retourne = false; // rows go bottom-up, as in a Windows bitmap
    bool yuv = false;      // 4:2:0 frames, converted by our own code
    bool pleine = false;   // ... in full range (JPEG)
    int largeur = 0, hauteur = 0;
    int64_t pts = 0;

    std::thread fil;
    std::mutex verrou;
    std::condition_variable signal;
    // Two frames: the caller fills `tampon` while the encoder sends `encours`; they change
    // hands under the lock.
    AVFrame* tampon = nullptr;
    AVFrame* encours = nullptr;
    bool plein = false; // `tampon` holds a frame the encoder has not taken yet
    bool fin = false;   // no more frames will come
    bool panne = false; // a frame could not be written; the encoder has stopped

    ~Ffmpeg() {
        arrete();
        av_packet_free(&paquet);
        av_frame_free(&tampon);
        av_frame_free(&encours);
        sws_freeContext(sws);
        avcodec_free_context(&enc);
        if (fc) {
            if (fc->pb) avio_closep(&fc->pb);
            avformat_free_context(fc);
        }
    }

    // Sends `img` (nullptr = end of stream) and writes every packet the encoder gives back.
    bool envoie(const AVFrame* img) {
        if (avcodec_send_frame(enc, img) < 0) return false;
        for (;;) {
            const int r = avcodec_receive_packet(enc, paquet);
            if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
            if (r < 0) return false;
            av_packet_rescale_ts(paquet, enc->time_base, st->time_base);
            paquet->stream_index = st->index;
            if (av_interleaved_write_frame(fc, paquet) < 0) return false;
        }
    }

    // Gives `i` pixels of the encoder's size and layout.
    bool pixels(AVFrame* i) const {
        i->format = enc->pix_fmt;
        i->width = largeur;
        i->height = hauteur;
        return av_frame_get_buffer(i, 0) >= 0;
    }

    AVFrame* nouvelle() const {
        AVFrame* i = av_frame_alloc();
        if (i && !pixels(i)) av_frame_free(&i);
        return i;
    }

    // Converts `img` into `tampon`. An encoder with threads of its own may still hold the
    // pixels `tampon` had; they are left to it and `tampon` gets new ones, without a copy.
    bool convertit(const QImage& img) {
        if (!av_frame_is_writable(tampon)) {
            av_frame_unref(tampon);
            if (!pixels(tampon)) return false;
        }
        if (yuv) {
            rgbversyuv420(reinterpret_cast<const uint32_t*>(img.constBits()),
                          static_cast<int>(img.bytesPerLine() / 4), largeur, hauteur,
                          tampon->data[0], tampon->linesize[0], tampon->data[1],
                          tampon->linesize[1], tampon->data[2], tampon->linesize[2], pleine);
        } else {
            const int pas = static_cast<int>(img.bytesPerLine());
            const uint8_t* source = img.constBits();
            int ligne = pas;
            if (retourne) { // start at the last row and walk up
                source += static_cast<qsizetype>(pas) * (hauteur - 1);
                ligne = -pas;
            }
            sws_scale(sws, &source, &ligne, 0, hauteur, tampon->data, tampon->linesize);
        }
        tampon->pts = pts++;
        tampon->quality = enc->global_quality;
        return true;
    }

    void boucle() {
        for (;;) {
            {
                std::unique_lock l(verrou);
                signal.wait(l, [&] { return plein || fin; });
                if (!plein) return;
                std::swap(encours, tampon);
                plein = false;
            }
            signal.notify_all();
            if (!envoie(encours)) {
                std::lock_guard l(verrou);
                panne = true;
                signal.notify_all();
                return;
            }
        }
    }

    // Hands a frame over, once the previous one has been taken. False when the encoder stopped.
    bool donne(const QImage& img) {
        {
            std::unique_lock l(verrou);
            signal.wait(l, [&] { return !plein || panne; });
            if (panne) return false;
        }
        // While `plein` is false the encoder does not touch `tampon`.
        if (!convertit(img)) return false;
        {
            std::lock_guard l(verrou);
            plein = true;
        }
        signal.notify_all();
        return true;
    }

    // Lets the encoder finish what it was given; false when a frame could not be written.
    bool arrete() {
        if (!fil.joinable()) return !panne;
        {
            std::lock_guard l(verrou);
            fin = true;
        }
        signal.notify_all();
        fil.join();
        return !panne;
    }

    bool termine() {
        bool ok = arrete();
        ok = envoie(nullptr) && ok;
        ok = av_write_trailer(fc) == 0 && ok;
        avio_flush(fc->pb);
        ok = fc->pb->error == 0 && ok;
        entete = false;
        return ok;
    }
};

EcritureVideo::EcritureVideo() = default;

EcritureVideo::~EcritureVideo() {
    ferme();
}

bool EcritureVideo::ouverte() const {
    return f != nullptr;
}

std::optional<QString> EcritureVideo::ouvre(const QString& chemin, int ips,
                                            const OptionsVideo& options, int largeur, int hauteur) {
    ferme();
    nbimages = 0;
    // FFmpeg's notes on every file would fill the command line's output; its errors stay.
    av_log_set_level(AV_LOG_ERROR);
    auto n = std::make_unique<Ffmpeg>();
    n->largeur = largeur;
    n->hauteur = hauteur;

    // "file:" keeps a name with a colon from being taken for a protocol.
    const QByteArray url = "file:" + QFile::encodeName(chemin);
    if (avformat_alloc_output_context2(&n->fc, nullptr, "avi", nullptr) < 0 ||
        avio_open(&n->fc->pb, url.constData(), AVIO_FLAG_WRITE) < 0)
        return ERRCREATION;

    if (ips <= 0 || largeur <= 0 || hauteur <= 0) return ERRFLUX;
    n->st = avformat_new_stream(n->fc, nullptr);
    if (!n->st) return ERRFLUX;

    const Reglage* r = reglage(options.codec);
    const AVCodec* c = r ? disponible(*r) : nullptr;
    if (!c) return ERRCOMPRESSION;
    n->enc = avcodec_alloc_context3(c);
    if (!n->enc) return ERRCOMPRESSION;
    AVCodecContext* enc = n->enc;
    enc->width = largeur;
    enc->height = hauteur;
    enc->pix_fmt = r->format;
    enc->time_base = AVRational{1, ips};
    enc->framerate = AVRational{ips, 1};
    enc->gop_size = r->inter ? std::max(1, options.cle) : 1;
    enc->max_b_frames = 0; // AVI has no room for reordered frames
    if (r->debit) enc->bit_rate = static_cast<int64_t>(std::max(1, options.debit)) * 1000;
    if (r->qualite) {
        // Quality 100 is the finest quantiser (2), quality 1 the coarsest (31).
        const int q = 2 + (100 - std::clamp(options.qualite, 1, 100)) * 29 / 99;
        enc->flags |= AV_CODEC_FLAG_QSCALE;
        enc->global_quality = FF_QP2LAMBDA * q;
    }
    const bool jpeg = options.codec == Codec::mjpeg;
    if (jpeg) enc->color_range = AVCOL_RANGE_JPEG;
    if (n->fc->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    // Every core encodes: frame threads where the encoder has them, else slices. One thread a
    // core, not FFmpeg's automatic count (one more): the frames are composed on a core too.
    // FFV1 cuts a picture into slices only from its version 3 on, which every decoder reads.
    enc->thread_count = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    enc->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    AVDictionary* reglages = nullptr;
    if (options.codec == Codec::ffv1) {
        av_dict_set(&reglages, "level", "3", 0);
        av_dict_set(&reglages, "slices", "12", 0);
    }
    const int ouvert = avcodec_open2(enc, c, &reglages);
    av_dict_free(&reglages);
    if (ouvert < 0) return ERRCOMPRESSION;

    n->yuv = r->format == AV_PIX_FMT_YUV420P;
    n->pleine = jpeg;
    n->tampon = n->nouvelle();
    n->encours = n->nouvelle();
    n->paquet = av_packet_alloc();
    if (!n->tampon || !n->encours || !n->paquet) return ERRCOMPRESSION;
    if (!n->yuv) { // the RGB layouts of the lossless codecs: a reordering of the bytes
        n->sws = sws_getContext(largeur, hauteur, AV_PIX_FMT_RGB32, largeur, hauteur, r->format,
                                SWS_POINT, nullptr, nullptr, nullptr);
        if (!n->sws) return ERRCOMPRESSION;
    }

    n->st->time_base = enc->time_base;
    n->st->avg_frame_rate = enc->framerate;
    if (avcodec_parameters_from_context(n->st->codecpar, enc) < 0) return ERRFORMAT;
    // Uncompressed frames are stored bottom-up with a positive height, as a Windows bitmap is;
    // that is what players expect of an AVI file.
    n->retourne = options.codec == Codec::rgb;
    AVDictionary* opts = nullptr;
    if (n->retourne) av_dict_set(&opts, "flipped_raw_rgb", "1", 0);
    const int ecrit = avformat_write_header(n->fc, &opts);
    av_dict_free(&opts);
    if (ecrit < 0) return ERRFORMAT;
    n->entete = true;
    try {
        n->fil = std::thread([p = n.get()] { p->boucle(); });
    } catch (const std::system_error&) {
        n->termine();
        return ERRCOMPRESSION;
    }
    f = std::move(n);
    return std::nullopt;
}

std::optional<QString> EcritureVideo::ecrit(const Surface& s) {
    if (!f) return ERRCREATION;
    const QImage& img = s.image();
    if (img.width() != f->largeur || img.height() != f->hauteur ||
        img.format() != QImage::Format_RGB32 || !f->donne(img)) {
        ferme();
        return ERRCREATION;
    }
    ++nbimages;
    return std::nullopt;
}

std::optional<QString> EcritureVideo::ferme() {
    if (!f) return std::nullopt;
    const bool ok = !f->entete || f->termine();
    f.reset();
    if (!ok) return ERRCREATION;
    return std::nullopt;
}
