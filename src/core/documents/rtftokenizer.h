#pragma once

#include <QByteArray>

namespace quillon::rtf {

struct Token {
    enum Kind { GroupOpen, GroupClose, ControlWord, HexByte, Text };
    Kind kind = Text;
    // Control word or symbol without the backslash ("b", "par", "*", "~").
    QByteArray word;
    bool hasParam = false;
    int param = 0;
    // Text bytes (line ends removed), or the one byte of \'hh.
    QByteArray bytes;
};

// Splits RTF bytes into tokens. Never reads past the end; a truncated
// control word or \'h ends the input cleanly.
class Tokenizer {
public:
    explicit Tokenizer(QByteArray data) : m_data(std::move(data)) {}

    bool next(Token& token);
    // Skips raw bytes (after \binN).
    void skipBytes(int count);

private:
    QByteArray m_data;
    qsizetype m_pos = 0;
};

} // namespace quillon::rtf
