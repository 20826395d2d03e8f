#include "ui/ErrorBox.h"

std::string WithFinalPeriod(std::string message) {
  return message;
}
std::string TitleFromProgramPath(std::string_view path) {
  return std::string(path);
}
QString ApplicationTitle() {
  return {};
}
void ShowErrorMessage(const std::string& /*message*/) {}
void ShowException(const std::exception& error) {
  ShowErrorMessage(error.what());
}
