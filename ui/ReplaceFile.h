#pragma once

#include <QByteArrayView>
#include <QString>

/// Replaces the content of the file `path` (created when missing) by `bytes` in one step: the
/// bytes go into a new file beside it, which takes the file's name only once all of them are
/// written, so a failure at any point (a full disk, no rights, a crash) leaves the old file as
/// it was. Returns the reason of a failure (Russian, without a final period), or an empty
/// string.
QString ReplaceFile(const QString& path, QByteArrayView bytes);
