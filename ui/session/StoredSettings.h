#pragma once

#include <QString>
#include <QStringList>

#include "printer/PrinterSettings.h"

namespace pl4120 {

/// The options of the text page that are kept with the settings. The defaults are the text
/// page's defaults.
struct TextPageOptions {
  QString edLPtx = QStringLiteral("70");  ///< lines per page, as typed
  bool cbLfCrTx = false;                  ///< "Добавлять (13)"
  bool cbNxPage = true;                   ///< "Выброс листа" after printing

  bool operator==(const TextPageOptions&) const = default;
};

/// What "Выход с сохранением" keeps for the next start: the whole settings page and the text
/// page's options. A default-constructed value is what a fresh window shows.
struct StoredSettings {
  PrinterSettings printer;
  TextPageOptions text;

  bool operator==(const StoredSettings&) const = default;
};

/// The user's settings file: "pl4120/pl4120.ini" in the XDG configuration folder
/// ($XDG_CONFIG_HOME, else ~/.config), where QSettings keeps the INI settings of organisation
/// and application "pl4120". Worked out anew at every call.
QString SettingsFilePath();

/// What reading the settings file found.
struct StoredSettingsRead {
  enum class Outcome {
    NoFile,      ///< nothing stored yet; `settings` holds the defaults
    Read,        ///< `settings` holds the stored values, defaults where a value was unusable
    Unreadable,  ///< the file exists but cannot be read; `settings` holds the defaults
  };
  Outcome outcome = Outcome::NoFile;
  StoredSettings settings;
  /// One line for the status line (Russian) when the file could not be read, is damaged or
  /// holds unusable values; empty otherwise. A missing value is no problem: it takes its
  /// default silently (a file written by an older version lacks the newer keys).
  QString problem;
};

/// Reads the settings file at `path`. A value of the wrong type or out of range takes its
/// default and is named in `problem`; nothing here throws.
StoredSettingsRead ReadStoredSettings(const QString& path);

/// Writes `settings` to `path` in one step: the new file is written beside it in full and then
/// takes its name, so a crash or a full disk leaves either the old file or the new one, never
/// a part. The folder is created when missing. Returns the reason (Russian, without a final
/// period) when the file could not be written, an empty string on success.
QString WriteStoredSettings(const QString& path, const StoredSettings& settings);

}  // namespace pl4120
