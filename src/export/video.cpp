#include "export/video.h"

#include "export/palette.h"
#include "export/yuv.h"
#include "map/fichier.h"
#include "state/etat.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
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
    bool entete = false;          // the header is written, so the file needs its trailer
    bool retourne = false;        // rows go bottom-up, as in a Windows bitmap
    bool yuv = false;             // 4:2:0 frames, converted by our own code
    bool pleine = false;          // ... in full range (JPEG)
    bool alpha = false;           // frames come with their alpha channel
    std::unique_ptr<Table> table; // paletted frames: the nearest colour of the film's palette
    QList<QRgb> couleurs;         // ... and the palette itself
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
    // The first error FFmpeg gave while writing (an AVERROR), so the user is told what stopped it.
    std::atomic<int> code{0};
    void retiens(int c) {
        int rien = 0;
        if (c < 0) code.compare_exchange_strong(rien, c);
    }
    // An error of the file's own writes takes the place of the muxer's answer, which may say less.
    int erreur(int r) {
        if (fc && fc->pb && fc->pb->error < 0) return fc->pb->error;
        return r;
    }

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
            if (const int e = av_interleaved_write_frame(fc, paquet); e < 0) {
                retiens(erreur(e));
                return false;
            }
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
        if (table) {
            table->convertit(img, tampon->data[0], tampon->linesize[0]);
            auto* pal = reinterpret_cast<uint32_t*>(tampon->data[1]);
            for (int i = 0; i < 256; ++i)
                pal[i] = i < couleurs.size() ? couleurs[i] : 0xff000000u;
        } else if (yuv) {
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
        const int t = av_write_trailer(fc);
        retiens(erreur(t));
        ok = t == 0 && ok;
        avio_flush(fc->pb);
        retiens(fc->pb->error);
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

    fichier = chemin;
    avi = true;
    // "file:" keeps a name with a colon from being taken for a protocol.
    const QByteArray url = "file:" + QFile::encodeName(chemin);
    if (avformat_alloc_output_context2(&n->fc, nullptr, "avi", nullptr) < 0) return ERRCREATION;
    if (const int r = avio_open(&n->fc->pb, url.constData(), AVIO_FLAG_WRITE); r < 0)
        return echec(r);

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
    return demarre(std::move(n), opts);
}

std::optional<QString> EcritureVideo::demarre(std::unique_ptr<Ffmpeg> n, AVDictionary* opts) {
    const int ecrit = avformat_write_header(n->fc, &opts);
    av_dict_free(&opts);
    if (ecrit < 0) {
        // The header could not be written to the disk (a full one, a device such as /dev/full).
        const int c = n->erreur(ecrit);
        return entreesortie(c) ? echec(c) : ERRFORMAT;
    }
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
    return ecrit(s.image());
}

std::optional<QString> EcritureVideo::ecrit(const QImage& img) {
    if (!f) return echec(0);
    const bool format =
        img.format() == QImage::Format_RGB32 || (f->alpha && img.format() == QImage::Format_ARGB32);
    if (img.width() != f->largeur || img.height() != f->hauteur || !format || !f->donne(img)) {
        const int c = f->code;
        const auto fin = ferme();
        if (entreesortie(c) || !fin) return echec(c);
        return fin;
    }
    ++nbimages;
    return std::nullopt;
}

std::optional<QString> EcritureVideo::ferme() {
    if (!f) return std::nullopt;
    const bool ok = !f->entete || f->termine();
    const int c = f->code;
    f.reset();
    if (!ok) return echec(c);
    return std::nullopt;
}

bool EcritureVideo::entreesortie(int code) {
    if (code >= 0) return false;
    switch (AVUNERROR(code)) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EROFS:
    case EACCES:
    case EPERM:
    case ENOENT:
    case ENOTDIR:
    case EFBIG:
    case EIO:
        return true;
    default:
        return false;
    }
}

QString EcritureVideo::echec(int code) const {
    if (entreesortie(code))
        return traduit(836, QStringLiteral("Impossible d'écrire le fichier « %1 » : %2."))
            .arg(fichier, raisonecriture(fichier, AVUNERROR(code)));
    // An AVI keeps the message it always had; the other formats are not AVI files.
    if (avi) return ERRCREATION;
    return traduit(849, QStringLiteral("Impossible de créer le film « %1 »")).arg(fichier);
}

std::optional<Format> formatdepuisnom(const QString& chemin) {
    static const std::pair<const char*, Format> EXTENSIONS[] = {
        {"avi", Format::avi},   {"mp4", Format::mp4}, {"mkv", Format::mkv},   {"mov", Format::mov},
        {"webm", Format::webm}, {"gif", Format::gif}, {"apng", Format::apng}, {"png", Format::png},
    };
    const QString ext = QFileInfo(chemin).suffix().toLower();
    for (const auto& [e, f] : EXTENSIONS)
        if (ext == QLatin1String(e)) return f;
    return std::nullopt;
}

QString errsansalpha() {
    return traduit(906, QStringLiteral("Ce format n'a pas de transparence : choisir .mov, .webm, "
                                       ".mkv ou une suite PNG"));
}

bool avecalpha(Format f) {
    return f == Format::mov || f == Format::webm || f == Format::mkv || f == Format::png;
}

// Quality 1..100 onto each encoder's own scale, linear, so that the default (60) gives what each
// encoder's makers call a good picture: CRF 20 for x264, 24 for x265 (which spends fewer bits at
// the same number), 25 for VP9 (0..63).
int crfx264(int qualite) {
    return ((100 - std::clamp(qualite, 1, 100)) * 51 + 50) / 100;
}
int crfx265(int qualite) {
    return std::min(51, crfx264(qualite) + 4);
}
int crfvp9(int qualite) {
    return ((100 - std::clamp(qualite, 1, 100)) * 63 + 50) / 100;
}
// ProRes has profiles, not a scale: LT, standard, HQ; with alpha 4444, or 4444 XQ at the top.
int profilprores(int qualite, bool alpha) {
    if (alpha) return qualite > 90 ? 5 : 4;
    return qualite <= 25 ? 1 : qualite <= 50 ? 2 : 3;
}
// Fewer colours, smaller file: 16 at the bottom, the full 256 at the top.
int couleursgif(int qualite) {
    return 16 + (std::clamp(qualite, 1, 100) - 1) * 240 / 99;
}

std::optional<QString> EcritureVideo::ouvrefilm(const QString& chemin, int ips, Format format,
                                                const OptionsFilm& options, int largeur,
                                                int hauteur, const QList<QRgb>& palette) {
    ferme();
    nbimages = 0;
    av_log_set_level(AV_LOG_ERROR);
    auto n = std::make_unique<Ffmpeg>();
    n->largeur = largeur;
    n->hauteur = hauteur;

    const bool alpha = options.transparent;
    const char* conteneur = nullptr;
    const char* nomcodec = nullptr;
    AVPixelFormat pixels = AV_PIX_FMT_YUV420P;
    const char* h26x = options.hevc ? "libx265" : "libx264";
    switch (format) {
    case Format::mp4:
        conteneur = "mp4";
        nomcodec = h26x;
        break;
    case Format::mkv:
        conteneur = "matroska";
        nomcodec = alpha ? "ffv1" : h26x;
        if (alpha) pixels = AV_PIX_FMT_RGB32;
        break;
    case Format::mov:
        conteneur = "mov";
        nomcodec = alpha || !options.hevc ? "prores_ks" : h26x;
        if (std::strcmp(nomcodec, "prores_ks") == 0)
            pixels = alpha ? AV_PIX_FMT_YUVA444P10 : AV_PIX_FMT_YUV422P10;
        break;
    case Format::webm:
        conteneur = "webm";
        nomcodec = "libvpx-vp9";
        if (alpha) pixels = AV_PIX_FMT_YUVA420P;
        break;
    case Format::gif:
        conteneur = "gif";
        nomcodec = "gif";
        pixels = AV_PIX_FMT_PAL8;
        break;
    case Format::apng:
        conteneur = "apng";
        nomcodec = "apng";
        pixels = AV_PIX_FMT_PAL8;
        break;
    case Format::avi:
    case Format::png:
        return ERRFORMAT;
    }
    if (alpha && !avecalpha(format)) return errsansalpha();
    if (pixels == AV_PIX_FMT_PAL8 && palette.isEmpty()) return ERRFORMAT;

    fichier = chemin;
    avi = false;
    const QByteArray url = "file:" + QFile::encodeName(chemin);
    // The name goes with the context: moving the index to the front reopens the file by it.
    if (avformat_alloc_output_context2(&n->fc, nullptr, conteneur, url.constData()) < 0)
        return echec(0);
    if (const int r = avio_open(&n->fc->pb, url.constData(), AVIO_FLAG_WRITE); r < 0)
        return echec(r);
    if (ips <= 0 || largeur <= 0 || hauteur <= 0) return ERRFLUX;
    n->st = avformat_new_stream(n->fc, nullptr);
    if (!n->st) return ERRFLUX;

    const AVCodec* c = avcodec_find_encoder_by_name(nomcodec);
    if (!c || !prendformat(c, pixels)) return ERRCOMPRESSION;
    n->enc = avcodec_alloc_context3(c);
    if (!n->enc) return ERRCOMPRESSION;
    AVCodecContext* enc = n->enc;
    enc->width = largeur;
    enc->height = hauteur;
    enc->pix_fmt = pixels;
    enc->time_base = AVRational{1, ips};
    enc->framerate = AVRational{ips, 1};
    enc->gop_size = 2 * ips; // a key frame every 2 seconds: seeking stays quick
    if (pixels == AV_PIX_FMT_YUV420P || pixels == AV_PIX_FMT_YUVA420P ||
        pixels == AV_PIX_FMT_YUV422P10 || pixels == AV_PIX_FMT_YUVA444P10) {
        // What our conversion and swscale write: BT.601, video range.
        enc->color_range = AVCOL_RANGE_MPEG;
        enc->colorspace = AVCOL_SPC_SMPTE170M;
        enc->color_primaries = AVCOL_PRI_SMPTE170M;
        enc->color_trc = AVCOL_TRC_SMPTE170M;
    }
    if (n->fc->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    enc->thread_count = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    enc->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;

    AVDictionary* reglages = nullptr;
    const QByteArray nom(nomcodec);
    // The encoders hold as many frames as they look ahead (40 for x264's medium preset, 20 for
    // x265's, 25 for VP9's) and x264 and x265 hold more for each frame thread: at 8K that is
    // gigabytes. Frames larger than 4K get a look-ahead of about 256 MB of pictures and threads
    // that share a frame (x264's slices, one frame thread for x265); up to 4K the encoders keep
    // their own settings, so those films are as they always were.
    const long long image = static_cast<long long>(largeur) * hauteur;
    const bool grande = image > 3840LL * 2160;
    const int avance =
        grande ? static_cast<int>(std::max(4LL, 256LL * 1024 * 1024 / (image * 3 / 2))) : 0;
    if (nom == "libx264" || nom == "libx265") {
        const int crf = nom == "libx264" ? crfx264(options.qualite) : crfx265(options.qualite);
        av_dict_set_int(&reglages, "crf", crf, 0);
        av_dict_set(&reglages, "preset", "medium", 0);
        if (nom == "libx264" && grande) {
            av_dict_set_int(&reglages, "rc-lookahead", std::min(avance, 40), 0);
            av_dict_set(&reglages, "x264-params", "sliced-threads=1", 0);
        }
        // x265 prints its settings unless told not to.
        if (nom == "libx265") {
            QByteArray x265 = "log-level=error";
            if (grande)
                x265 += ":frame-threads=1:rc-lookahead=" + QByteArray::number(std::min(avance, 20));
            av_dict_set(&reglages, "x265-params", x265.constData(), 0);
        }
    } else if (nom == "libvpx-vp9") {
        enc->bit_rate = 0; // constant quality
        av_dict_set_int(&reglages, "crf", crfvp9(options.qualite), 0);
        av_dict_set(&reglages, "deadline", "good", 0);
        av_dict_set(&reglages, "cpu-used", "4", 0);
        av_dict_set(&reglages, "row-mt", "1", 0);
        if (grande) av_dict_set_int(&reglages, "lag-in-frames", std::min(avance, 25), 0);
    } else if (nom == "prores_ks") {
        av_dict_set_int(&reglages, "profile", profilprores(options.qualite, alpha), 0);
        av_dict_set(&reglages, "vendor", "apl0", 0);
    } else if (nom == "ffv1") {
        av_dict_set(&reglages, "level", "3", 0);
        av_dict_set(&reglages, "slices", "12", 0);
        enc->gop_size = 1; // every frame stands alone, as an editor wants
    }
    const int ouvert = avcodec_open2(enc, c, &reglages);
    av_dict_free(&reglages);
    if (ouvert < 0) return ERRCOMPRESSION;

    n->alpha = alpha;
    n->yuv = pixels == AV_PIX_FMT_YUV420P;
    if (pixels == AV_PIX_FMT_PAL8) {
        n->couleurs = palette.mid(0, 256);
        n->table = std::make_unique<Table>(n->couleurs);
    }
    n->tampon = n->nouvelle();
    n->encours = n->nouvelle();
    n->paquet = av_packet_alloc();
    if (!n->tampon || !n->encours || !n->paquet) return ERRCOMPRESSION;
    if (!n->yuv && !n->table) {
        n->sws = sws_getContext(largeur, hauteur, AV_PIX_FMT_RGB32, largeur, hauteur, pixels,
                                SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INP, nullptr,
                                nullptr, nullptr);
        if (!n->sws) return ERRCOMPRESSION;
    }

    n->st->time_base = enc->time_base;
    n->st->avg_frame_rate = enc->framerate;
    if (avcodec_parameters_from_context(n->st->codecpar, enc) < 0) return ERRFORMAT;
    // Apple's players take H.265 in MP4 and MOV only under this tag.
    if (nom == "libx265" && format != Format::mkv)
        n->st->codecpar->codec_tag = MKTAG('h', 'v', 'c', '1');
    AVDictionary* opts = nullptr;
    // The index before the data: the film plays while it downloads.
    if (format == Format::mp4 || format == Format::mov)
        av_dict_set(&opts, "movflags", "+faststart", 0);
    // VP9's alpha rides beside the picture; the muxer must be told it is there.
    if (format == Format::webm && alpha) av_dict_set(&n->st->metadata, "alpha_mode", "1", 0);
    return demarre(std::move(n), opts);
}
