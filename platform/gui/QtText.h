#pragma once

#include "platform/SjisString.h"

#include <QString>
#include <QStringList>

#include <initializer_list>

// The only places where Shift-JIS bytes meet QString: at the widgets.

// True when every byte is below 0x80: such a text reads the same in CP932
// and in Unicode, so it converts back unchanged.
bool IsPlainAscii(const SjisString& text);

// A fixed text of the program's own, written in the source as UTF-8.
QString UiText(const char* utf8);
QStringList UiTexts(std::initializer_list<const char*> utf8);

// Decodes for display; undecodable bytes show as U+FFFD.
QString SjisToQString(const SjisString& text);

// Encodes text the player typed. Returns false when a character has no code
// in CP932 (the caller refuses such input).
bool TryQStringToSjis(const QString& text, SjisString& out);

// Encodes text known to be encodable; characters without a code become "?".
SjisString QStringToSjis(const QString& text);
