#include "ui/Unit1.h"

void TPL4120_1::btLoadTxClick() {}
void TPL4120_1::btMergTxClick() {}
void TPL4120_1::ReadTextFileIntoEditor() {}
