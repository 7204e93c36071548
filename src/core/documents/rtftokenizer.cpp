#include "documents/rtftokenizer.h"

#include <algorithm>

namespace quillon::rtf {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

void Tokenizer::skipBytes(int count)
{
    m_pos = std::min<qsizetype>(m_data.size(), m_pos + std::max(0, count));
}

bool Tokenizer::next(Token& t)
{
    const qsizetype n = m_data.size();
    t.word.clear();
    t.bytes.clear();
    t.hasParam = false;
    t.param = 0;
    while (m_pos < n) {
        const char c = m_data.at(m_pos);
        if (c == '{') {
            ++m_pos;
            t.kind = Token::GroupOpen;
            return true;
        }
        if (c == '}') {
            ++m_pos;
            t.kind = Token::GroupClose;
            return true;
        }
        if (c == '\\') {
            if (m_pos + 1 >= n)
                return false;
            const char d = m_data.at(m_pos + 1);
            if (d == '\'') {
                // \'hh; a broken one is dropped.
                const int hi = m_pos + 2 < n ? hexValue(m_data.at(m_pos + 2)) : -1;
                const int lo = m_pos + 3 < n ? hexValue(m_data.at(m_pos + 3)) : -1;
                if (hi < 0 || lo < 0) {
                    m_pos = std::min(n, m_pos + 2);
                    continue;
                }
                m_pos += 4;
                t.kind = Token::HexByte;
                t.bytes = QByteArray(1, char(hi * 16 + lo));
                return true;
            }
            if (!isLetter(d)) {
                // A control symbol; \<CR> and \<LF> are paragraph marks.
                m_pos += 2;
                t.kind = Token::ControlWord;
                t.word = (d == '\r' || d == '\n') ? QByteArray("par") : QByteArray(1, d);
                return true;
            }
            qsizetype p = m_pos + 1;
            while (p < n && isLetter(m_data.at(p))) {
                if (t.word.size() < 32)
                    t.word.append(m_data.at(p));
                ++p;
            }
            bool negative = false;
            if (p < n && m_data.at(p) == '-' && p + 1 < n && isDigit(m_data.at(p + 1))) {
                negative = true;
                ++p;
            }
            long long value = 0;
            int digits = 0;
            while (p < n && isDigit(m_data.at(p))) {
                if (digits < 10)
                    value = value * 10 + (m_data.at(p) - '0');
                ++digits;
                ++p;
            }
            if (digits > 0) {
                t.hasParam = true;
                value = std::clamp(negative ? -value : value, -2147483647LL, 2147483647LL);
                t.param = int(value);
            }
            // One blank after a control word belongs to it.
            if (p < n && m_data.at(p) == ' ')
                ++p;
            m_pos = p;
            t.kind = Token::ControlWord;
            return true;
        }
        // Plain text up to the next special character.
        qsizetype p = m_pos;
        while (p < n) {
            const char e = m_data.at(p);
            if (e == '{' || e == '}' || e == '\\')
                break;
            if (e != '\r' && e != '\n')
                t.bytes.append(e);
            ++p;
        }
        m_pos = p;
        if (t.bytes.isEmpty())
            continue;
        t.kind = Token::Text;
        return true;
    }
    return false;
}

} // namespace quillon::rtf
