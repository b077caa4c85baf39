// Placeholders, one per handler of the topics still being written (map, tracer, segment colours,
// files, language), so the window links.
// Each shows nothing and does nothing; this file goes away as the topics land.
#include "app/tform1.h"

void TForm1::litparametres() {}

void TForm1::Onglet2Change(int) {}
void TForm1::tronsonChange(int) {}
void TForm1::affichecoultron() {}
void TForm1::Button8Click() {}

void TForm1::sauverClick() {}
void TForm1::SuiteClick() {}
void TForm1::Button3Click() {}
void TForm1::Button11Click() {}

void TForm1::langueChange(int) {}
void TForm1::chargelangue() {}
