#pragma once

#include "media/medium.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

namespace quillon::media {

// The plain-text media list that is exported, previewed and printed. Every
// line ends with a line feed; names and the other cut values keep their first
// 30 characters, nothing is padded.
inline constexpr int kListCut = 30;
inline constexpr int kListRuleWidth = 100;

// "mm-dd-yyyy", whatever the regional settings say.
QString listDate(const QDate& date);
// "Tapes, Harddisks, CD and other Mediums" + four blanks + the date: the media
// window's caption while the list is built.
QString listCaption(const QDate& date);
// The whole list for the media in stored order; the empty text when there
// are none (there is nothing to print then).
QString mediaListText(const QList<Medium>& media, const QDateTime& now);
// The first n characters, never splitting a character outside the BMP.
QString firstChars(const QString& text, int n);

// Replaces the file in one step (a crash leaves the old list or the new one,
// never half of it). On failure returns false and sets a user-facing reason.
bool saveMediaList(const QString& path, const QString& text, QString* error = nullptr);

} // namespace quillon::media
