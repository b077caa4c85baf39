// Reading GPX with Qt's XML stream reader: the whole file is read into a track first, and the
// first fault ends the reading with its line, so a bad file changes nothing.
#include "geo/gpx.h"

#include "state/etat.h"

#include <QDateTime>
#include <QFile>
#include <QTimeZone>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

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

class LecteurGpx {
  public:
    explicit LecteurGpx(QByteArrayView o) : xml(QByteArray::fromRawData(o.data(), o.size())) {}

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
        if (xml.hasError()) return fautexml();
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
        const int l = static_cast<int>(std::min<qint64>(xml.lineNumber(), INT32_MAX));
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
    return LecteurGpx(octets).lit();
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
    const QByteArray octets = f.read(MAXGPX + 1);
    if (f.error() != QFileDevice::NoError)
        return ErreurGeo{0,
                         QStringLiteral("Impossible de lire %1 : %2").arg(chemin, f.errorString())};
    LectureGpx l = lisgpx(octets);
    if (auto* e = std::get_if<ErreurGeo>(&l)) e->message = chemin + u'\n' + e->message;
    return l;
}
