#include "ui/Unit1.h"

void TPL4120_1::FormCreate() {}
void TPL4120_1::SetPrint1Click() {}
void TPL4120_1::QuitNoSvClick() {}
void TPL4120_1::QuitSaveClick() {}
void TPL4120_1::SendToDevice(const std::string& /*data*/) {}
