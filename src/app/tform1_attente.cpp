// Placeholders, one per handler of the topics still being written (the parameters file and the
// exports), so the window links. Each shows nothing and does nothing; this file goes away as the
// topics land.
#include "app/tform1.h"

void TForm1::litparametres() {}

void TForm1::sauverClick() {}
void TForm1::SuiteClick() {}
void TForm1::Button3Click() {}
void TForm1::Button11Click() {}
