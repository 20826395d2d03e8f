#include "ui/Application.h"
#include "ui/Unit1.h"

int main(int argc, char** argv) {
  TApplication app(argc, argv);
  TPL4120_1 window;
  window.show();  // the window opens maximised by itself
  return TApplication::exec();
}
