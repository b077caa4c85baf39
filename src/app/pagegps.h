// The page "GPS" of the window: importing a track, placing the map on the Earth (its world file,
// or points clicked on the map with their latitude and longitude), the film's pace and what the
// legend tells. It holds its controls only; the window reacts to them (tform1_gps.cpp).
#pragma once

#include "state/etat.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QTableWidget;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

class PageGps : public QWidget {
    Q_OBJECT
  public:
    explicit PageGps(QWidget* parent = nullptr);

    // The replay's captions in the language of the table in force (French without one).
    void traduis(const Etat* e);
    // Shows the project's values without running any reaction; `residus` go beside the points.
    void montre(const Etat& e, const std::vector<double>& residus);

    QPushButton* importe = nullptr;
    QPushButton* fichiercalage = nullptr;
    QLabel* etatcalage = nullptr;
    QListWidget* amers = nullptr;
    QLineEdit* latlon = nullptr;
    QPushButton* amerclic = nullptr; // checked: the next click on the view places a point
    QPushButton* retire = nullptr;
    QCheckBox* allure = nullptr;
    QSpinBox* pause = nullptr;
    QCheckBox* distance = nullptr;
    QSpinBox* decimales = nullptr;
    QPushButton* echelle = nullptr; // checked: the next two clicks are the scale bar's ends
    QDoubleSpinBox* echellekm = nullptr;
    QCheckBox *temps = nullptr, *vitesse = nullptr, *altitude = nullptr, *profil = nullptr;

    // The replay: its tracks (colour and shown, name, handicap in seconds), how they start,
    // their tails, the ranking and what the camera follows.
    QLabel* rejeu = nullptr;
    QPushButton* ajoutepiste = nullptr;
    QTableWidget* pistes = nullptr;
    QComboBox* depart = nullptr;
    QLabel* textequeue = nullptr;
    QSpinBox* queue = nullptr;
    QCheckBox* classement = nullptr;
    QComboBox* suivi = nullptr;
    // The page's height: more than a tab shows, so the window scrolls it.
    static constexpr int HAUTEUR = 660;
};

// "45.83, 6.86", "45,83 ; 6,86", "45.83 6.86": a latitude and a longitude; nothing otherwise.
std::optional<std::pair<double, double>> litlatlon(const QString& texte);
