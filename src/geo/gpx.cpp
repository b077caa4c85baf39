// Reading GPX with Qt's XML stream reader: the whole file is read into a track first, and the
// first fault ends the reading with its line, so a bad file changes nothing.
#include "geo/gpx.h"

#include "state/etat.h"

#include <QBuffer>
#include <QDateTime>
#include <QFile>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace {

// A number as GPX writes it (xsd:decimal), read without regard to the machine's locale.
bool decimal(QStringView t, double& v) {
    bool ok = false;
    v = t.trimmed().toDouble(&ok);
    return ok && std::isfinite(v);
}

// xsd:dateTime; without a zone it is taken as UTC, as GPX asks.
bool heure(const QString& t, double& v) {
    QDateTime d = QDateTime::fromString(t.trimmed(), Qt::ISODateWithMs);
    if (!d.isValid()) return false;
    if (d.timeSpec() == Qt::LocalTime) d.setTimeZone(QTimeZone::utc());
    v = static_cast<double>(d.toMSecsSinceEpoch()) / 1000.0;
    return true;
}

// Between the file and the XML reader, in one pass: what makes that reader's time grow faster
// than the file is counted and held to limits (the attributes of one element, which it compares
// pair by pair, the namespace declarations in scope, which it searches for every prefixed name,
// the depth), and runs of blanks longer than PLI are folded to one, so that a file of whitespace
// costs no memory; the lines folded away are counted so that errors name the file's
// own lines.
class Garde : public QIODevice {
  public:
    explicit Garde(QIODevice& source) : source(source) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }

    std::optional<QString> refus; // the limit that stopped the reading, with its line
    qint64 lignerefus = 0;
    // The file's line of line `l` as the XML reader counts them.
    qint64 vraieligne(qint64 l) const {
        qint64 plus = 0;
        for (const auto& [apres, n] : plis) {
            if (apres > l) break;
            plus = n;
        }
        return l + plus;
    }

  protected:
    qint64 writeData(const char*, qint64) override { return -1; }
    qint64 readData(char* sortie, qint64 max) override {
        while (lu >= sortant.size() && !refus && !epuise) {
            sortant.clear();
            lu = 0;
            const QByteArray entree = source.read(64 * 1024);
            if (entree.isEmpty()) {
                epuise = true;
                if (vide > 0) rend(); // blanks up to the end
                break;
            }
            for (const char c : entree) {
                avance(static_cast<unsigned char>(c));
                if (refus) break;
            }
        }
        const qint64 n = std::min<qint64>(max, sortant.size() - lu);
        std::memcpy(sortie, sortant.constData() + lu, static_cast<std::size_t>(n));
        lu += n;
        return n;
    }

  private:
    static constexpr int MAXATTRIBUTS = 64;
    static constexpr int MAXESPACES = 64; // namespace declarations in scope
    static constexpr int MAXPROFONDEUR = 1000;
    static constexpr qsizetype PLI = 4096; // blanks kept of a run before it is folded

    enum class Etat { texte, ouvre, balise, valeur, fin, commentaire, cdata, pi, declaration };

    static bool blanc(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    void arrete(const QString& raison) {
        refus = traduit(861, QStringLiteral("%1 (ligne %2)")).arg(raison).arg(lignefichier);
        lignerefus = lignefichier;
    }

    // The blanks held of the run that just ended.
    void rend() {
        if (vide <= PLI) {
            sortant += tampon;
            lignesortie += tampon.count('\n');
        } else {
            // One blank stands for the run; a line end for its line ends, which are counted.
            sortant += finsligne > 0 ? '\n' : ' ';
            if (finsligne > 0) {
                ++lignesortie;
                plis.emplace_back(lignesortie,
                                  (plis.empty() ? 0 : plis.back().second) + finsligne - 1);
            }
        }
        vide = 0;
        finsligne = 0;
        tampon.clear();
    }

    void avance(unsigned char c) {
        if (c == '\n') ++lignefichier;
        const bool pliable = etat == Etat::texte || etat == Etat::balise || etat == Etat::valeur;
        if (pliable && blanc(c)) {
            lit(c); // a blank ends an attribute's name
            ++vide;
            if (vide <= PLI) {
                tampon.append(static_cast<char>(c));
            } else {
                if (vide == PLI + 1) finsligne = static_cast<int>(tampon.count('\n'));
                if (c == '\n') ++finsligne;
            }
            return;
        }
        if (vide > 0) rend();
        lit(c);
        sortant += static_cast<char>(c);
        if (c == '\n') ++lignesortie;
    }

    // The markup, byte by byte, as far as the limits need it.
    void lit(unsigned char c) {
        recents = recents << 8 | c; // the last four bytes
        switch (etat) {
        case Etat::texte:
            if (c == '<') {
                etat = Etat::ouvre;
                longueur = 0;
            }
            break;
        case Etat::ouvre:
            // "<!--", "<![CDATA[", "<!DOCTYPE", "<?", "</" or a start tag.
            ++longueur;
            if (longueur == 1 && c == '?') {
                etat = Etat::pi;
            } else if (longueur == 1 && c == '/') {
                etat = Etat::fin;
            } else if (longueur == 1 && c != '!') {
                debutbalise();
                balise(c);
            } else if (longueur == 2 && c == '-') {
            } else if (longueur == 2 && c == '[') {
                etat = Etat::cdata;
            } else if (longueur == 3 && c == '-' && (recents & 0xffff) == ('-' << 8 | '-')) {
                etat = Etat::commentaire;
                recents = 0;
            } else if (longueur >= 2) {
                etat = Etat::declaration;
                crochets = 0;
                guillemet = 0;
                dedans = false;
            }
            break;
        case Etat::balise:
            balise(c);
            break;
        case Etat::valeur:
            if (c == guillemet) etat = Etat::balise;
            break;
        case Etat::fin:
            if (c == '>') {
                etat = Etat::texte;
                if (!espaces.empty()) espaces.pop_back();
            }
            break;
        case Etat::commentaire:
            if ((recents & 0xffffff) == ('-' << 16 | '-' << 8 | '>')) etat = Etat::texte;
            break;
        case Etat::cdata:
            if ((recents & 0xffffff) == (']' << 16 | ']' << 8 | '>')) etat = Etat::texte;
            break;
        case Etat::pi:
            if ((recents & 0xffff) == ('?' << 8 | '>')) etat = Etat::texte;
            break;
        case Etat::declaration:
            // A document type: quoted texts, comments and its internal subset may hold '>'.
            if (dedans) {
                if ((recents & 0xffffff) == ('-' << 16 | '-' << 8 | '>')) dedans = false;
            } else if (recents == (quint32('<') << 24 | '!' << 16 | '-' << 8 | '-')) {
                dedans = true;
                recents = 0;
            } else if (guillemet) {
                if (c == guillemet) guillemet = 0;
            } else if (c == '"' || c == '\'') {
                guillemet = c;
            } else if (c == '[') {
                ++crochets;
            } else if (c == ']') {
                crochets = std::max(0, crochets - 1);
            } else if (c == '>' && crochets == 0) {
                etat = Etat::texte;
            }
            break;
        }
    }

    void debutbalise() {
        etat = Etat::balise;
        attributs = 0;
        declarations = 0;
        nom.clear();
        dernier = 0;
    }

    void balise(unsigned char c) {
        if (c == '"' || c == '\'') {
            guillemet = c;
            etat = Etat::valeur;
            return;
        }
        if (c == '=') {
            if (++attributs > MAXATTRIBUTS)
                return arrete(traduit(858, QStringLiteral("plus de %1 attributs dans un élément"))
                                  .arg(MAXATTRIBUTS));
            if (nom == "xmlns" || nom.startsWith("xmlns:")) ++declarations;
            nom.clear();
        } else if (c == '>') {
            etat = Etat::texte;
            if (dernier == '/') return; // empty element: nothing opened
            const int dessous = espaces.empty() ? 0 : espaces.back();
            espaces.push_back(dessous + declarations);
            if (espaces.back() > MAXESPACES)
                return arrete(traduit(859, QStringLiteral("plus de %1 espaces de noms déclarés"))
                                  .arg(MAXESPACES));
            if (std::ssize(espaces) > MAXPROFONDEUR)
                return arrete(
                    traduit(860, QStringLiteral("éléments imbriqués sur plus de %1 niveaux"))
                        .arg(MAXPROFONDEUR));
        } else if (blanc(c)) {
            nom.clear();
        } else if (nom.size() < 64) {
            nom.append(static_cast<char>(c));
        }
        dernier = c;
    }

    QIODevice& source;
    QByteArray sortant; // what the XML reader is given next, from `lu` on
    qsizetype lu = 0;
    bool epuise = false;
    Etat etat = Etat::texte;
    quint32 recents = 0;
    int longueur = 0;
    int crochets = 0;
    bool dedans = false; // in a comment of the document type
    unsigned char guillemet = 0, dernier = 0;
    int attributs = 0, declarations = 0;
    QByteArray nom;
    std::vector<int> espaces; // declarations in scope at each open element
    // Blanks held: how many in the run, the first PLI of them, the line ends past those.
    qsizetype vide = 0;
    qint64 finsligne = 0;
    QByteArray tampon;
    qint64 lignefichier = 1, lignesortie = 1;
    std::vector<std::pair<qint64, qint64>> plis; // (line out after a fold, lines folded so far)
};

class LecteurGpx {
  public:
    explicit LecteurGpx(QIODevice& source) : flux(source), xml(&flux) {}

    LectureGpx lit() {
        if (!xml.readNextStartElement())
            return faute(QStringLiteral("ce n'est pas un fichier XML"));
        if (xml.name() != u"gpx")
            return faute(QStringLiteral("élément racine <%1> au lieu de <gpx>").arg(xml.name()));
        while (xml.readNextStartElement()) {
            const QStringView n = xml.name();
            if (n == u"trk") {
                const std::size_t premier = t.segments.size();
                QString nom;
                if (!conteneur(u"trkseg", u"trkpt", nom)) return *erreur;
                piste(premier, nom);
            } else if (n == u"rte") {
                const std::size_t premier = t.segments.size();
                QString nom;
                SegmentGps s;
                if (!points(u"rtept", s, &nom)) return *erreur;
                garde(std::move(s));
                piste(premier, nom);
            } else {
                if (n == u"wpt") ++passages;
                xml.skipCurrentElement(); // waypoints, metadata, extensions
            }
        }
        // What follows the root must be well formed too: a second root is a broken file.
        while (!xml.hasError() && !xml.atEnd())
            xml.readNext();
        if (xml.hasError() || flux.refus) return fautexml();
        if (t.segments.empty() && passages > 0)
            return ErreurGeo{0, traduit(1200, QStringLiteral("Le fichier GPX n'a que des points "
                                                             "de passage (%1) : ni tracé ni route"))
                                    .arg(passages)};
        if (t.segments.empty())
            return ErreurGeo{0, QStringLiteral("Aucun point dans le fichier GPX")};
        return std::move(t);
    }

  private:
    ErreurGeo faute(const QString& raison) {
        // A limit of the guard stops the XML reader at a cut that it takes for a broken file.
        if (flux.refus)
            return *(erreur = ErreurGeo{
                         static_cast<int>(std::min<qint64>(flux.lignerefus, INT32_MAX)),
                         traduit(857, QStringLiteral("Fichier GPX refusé : %1")).arg(*flux.refus)});
        const int l =
            static_cast<int>(std::min<qint64>(flux.vraieligne(xml.lineNumber()), INT32_MAX));
        erreur = ErreurGeo{
            l, QStringLiteral("Fichier GPX incorrect : %1 (ligne %2)").arg(raison).arg(l)};
        return *erreur;
    }
    ErreurGeo fautexml() { return faute(xml.errorString()); }
    bool echec(const QString& raison) {
        faute(raison);
        return false;
    }

    void garde(SegmentGps&& s) {
        if (!s.empty()) t.segments.push_back(std::move(s));
    }
    void piste(std::size_t premier, const QString& nom) {
        if (t.segments.size() > premier) t.pistes.push_back({premier, nom.simplified().left(200)});
    }

    // <trk>: its <name> and its <trkseg>s, each a run of <trkpt>.
    bool conteneur(QStringView seg, QStringView pt, QString& nom) {
        while (xml.readNextStartElement()) {
            if (xml.name() == seg) {
                SegmentGps s;
                if (!points(pt, s)) return false;
                garde(std::move(s));
            } else if (xml.name() == u"name") {
                nom = xml.readElementText(QXmlStreamReader::SkipChildElements);
            } else {
                xml.skipCurrentElement();
            }
        }
        if (xml.hasError()) return echec(xml.errorString());
        return true;
    }

    bool points(QStringView nom, SegmentGps& s, QString* titre = nullptr) {
        while (xml.readNextStartElement()) {
            if (titre && xml.name() == u"name") {
                *titre = xml.readElementText(QXmlStreamReader::SkipChildElements);
                continue;
            }
            if (xml.name() != nom) {
                xml.skipCurrentElement();
                continue;
            }
            PointGps p;
            if (!point(p)) return false;
            if (t.nbpoints >= MAXPOINTSGPX)
                return echec(QStringLiteral("plus de %1 points").arg(MAXPOINTSGPX));
            s.push_back(p);
            ++t.nbpoints;
        }
        if (xml.hasError()) return echec(xml.errorString());
        return true;
    }

    bool point(PointGps& p) {
        const QXmlStreamAttributes a = xml.attributes();
        if (!a.hasAttribute(QLatin1StringView("lat")) || !a.hasAttribute(QLatin1StringView("lon")))
            return echec(QStringLiteral("point sans lat ou lon"));
        if (!decimal(a.value(QLatin1StringView("lat")), p.lat) || p.lat < -90 || p.lat > 90)
            return echec(
                QStringLiteral("latitude '%1' incorrecte").arg(a.value(QLatin1StringView("lat"))));
        if (!decimal(a.value(QLatin1StringView("lon")), p.lon) || p.lon < -180 || p.lon > 180)
            return echec(
                QStringLiteral("longitude '%1' incorrecte").arg(a.value(QLatin1StringView("lon"))));
        while (xml.readNextStartElement()) {
            const QStringView n = xml.name();
            // An empty value is a value the device did not have: the point goes without it.
            if (n == u"ele") {
                const QString v = xml.readElementText();
                if (xml.hasError()) break;
                if (v.trimmed().isEmpty()) continue;
                if (!decimal(v, p.alt))
                    return echec(QStringLiteral("altitude '%1' incorrecte").arg(v.left(40)));
                p.aalt = true;
            } else if (n == u"time") {
                const QString v = xml.readElementText();
                if (xml.hasError()) break;
                if (v.trimmed().isEmpty()) continue;
                if (!heure(v, p.temps))
                    return echec(QStringLiteral("heure '%1' incorrecte").arg(v.left(40)));
                p.atemps = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        if (xml.hasError()) return echec(xml.errorString());
        return true;
    }

    Garde flux;
    QXmlStreamReader xml;
    TraceGps t;
    qsizetype passages = 0; // <wpt>s, which make no track
    std::optional<ErreurGeo> erreur;
};

} // namespace

bool TraceGps::temps() const {
    double avant = -INFINITY;
    for (const SegmentGps& s : segments)
        for (const PointGps& p : s) {
            if (!p.atemps || p.temps < avant) return false;
            avant = p.temps;
        }
    // A clock that never moved paces nothing.
    return nbpoints > 0 && avant > segments.front().front().temps;
}

bool TraceGps::horlogefigee() const {
    if (nbpoints < 2) return false;
    const double t0 = segments.front().front().temps;
    for (const SegmentGps& s : segments)
        for (const PointGps& p : s)
            if (!p.atemps || p.temps != t0) return false;
    return true;
}

bool TraceGps::altitude() const {
    for (const SegmentGps& s : segments)
        for (const PointGps& p : s)
            if (!p.aalt) return false;
    return nbpoints > 0;
}

std::optional<PointGps> pointtrace(const TraceGps& t, qsizetype n) {
    if (n == -1) n = t.nbpoints;
    if (n < 1) return std::nullopt;
    for (const SegmentGps& s : t.segments) {
        if (n <= std::ssize(s)) return s[n - 1];
        n -= std::ssize(s);
    }
    return std::nullopt;
}

std::optional<qsizetype> nompoint(const QString& texte) {
    const QString t = texte.trimmed();
    if (!t.startsWith(u'@')) return std::nullopt;
    const QString n = t.mid(1).trimmed();
    if (n.compare(QLatin1String("fin"), Qt::CaseInsensitive) == 0) return -1;
    bool ok = false;
    const qsizetype v = n.toLongLong(&ok);
    if (!ok || v < 1) return std::nullopt;
    return v;
}

LectureGpx lisgpx(QByteArrayView octets) {
    QBuffer b;
    b.setData(QByteArray::fromRawData(octets.data(), octets.size()));
    b.open(QIODevice::ReadOnly);
    return LecteurGpx(b).lit();
}

LectureGpx chargegpx(const QString& chemin) {
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return ErreurGeo{
            0, QStringLiteral("Impossible d'ouvrir %1 : %2").arg(chemin, f.errorString())};
    if (f.size() > MAXGPX)
        return ErreurGeo{0, QStringLiteral("%1\nFichier trop grand : plus de %2 Mo")
                                .arg(chemin)
                                .arg(MAXGPX / (1024 * 1024))};
    // Read as it goes: the file is never held whole.
    LectureGpx l = LecteurGpx(f).lit();
    if (f.error() != QFileDevice::NoError)
        return ErreurGeo{0,
                         QStringLiteral("Impossible de lire %1 : %2").arg(chemin, f.errorString())};
    if (auto* e = std::get_if<ErreurGeo>(&l)) e->message = chemin + u'\n' + e->message;
    return l;
}
