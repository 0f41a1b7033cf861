#pragma once

#include "fw/Types.h"

#include <QStringView>

// Keeps the text of many short strings one after another in a few large
// blocks. Strings made over a block share it, so a hundred thousand of them
// cost a few hundred allocations rather than a hundred thousand, and a
// block lives for as long as any string over it does.
class CTextArena
{
public:
    // Copies text into the current block, followed by a null, and returns
    // where the copy lies. A text that does not fit starts a new block.
    char16_t* Append(QStringView text);
    // A string with text's characters, over the block that holds its copy.
    CString Copy(QStringView text);
    // The block that the last Append copied into, for strings over it.
    CString::DataPointer& Block() { return m_strBlock.data_ptr(); }

private:
    static constexpr qsizetype kBlockUnits = 32 * 1024;

    CString m_strBlock;
    // The block's text, written past the strings already made over it.
    char16_t* m_pBlockText = nullptr;
    qsizetype m_nUsed = 0;
};
