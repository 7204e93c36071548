#pragma once

namespace quillon {

// File and buffer formats a RichTextDocument reads and writes. The numbers
// are the codes the windows pass around; keep them stable.
enum class DocumentFormat : int {
    Text = 1,   // plain text: UTF-8 written, UTF-8/UTF-16/Windows-1252 read
    Native = 3, // the document with all its formatting (Qt rich-text HTML, UTF-8)
    Rtf = 5,    // Rich Text Format
    Word = 9,   // Word 97-2003 (.doc) or Office Open XML (.docx)
};

} // namespace quillon
