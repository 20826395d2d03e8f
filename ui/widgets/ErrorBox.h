#pragma once

#include <QString>
#include <exception>
#include <string>
#include <string_view>

/// The central exception handler: every handler runs inside Guarded(), so an exception ends
/// only the handling of the one event during which it arose and the program runs on.

/// The "." rule: a non-empty message whose last byte sorts after '.' gets a '.' appended.
std::string WithFinalPeriod(std::string message);

/// The application title made from the program file's path: cut after the last separator,
/// then at the first '.', every character after the first in lower case, the first keeping its case
/// ("PL4120.EXE" -> "Pl4120", "pl4120" -> "pl4120").
std::string TitleFromProgramPath(std::string_view path);

/// The title of this program (from the running executable's path).
QString ApplicationTitle();

/// Shows a message (UTF-8, before the "." rule) the way the central handler does: releases
/// any mouse grab, closes popups, and shows a modal box with the stop icon and one OK button,
/// captioned with the application title.
void ShowErrorMessage(const std::string& message);

/// ShowErrorMessage(error.what()).
void ShowException(const std::exception& error);

/// Runs a handler; an exception that escapes it goes to the central handler.
template <class F>
void Guarded(F&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    ShowErrorMessage("Unknown exception");
  }
}
