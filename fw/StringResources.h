#pragma once

#include "fw/Types.h"

#include <functional>

// The program's string table, as the framework sees it: the program
// registers the function that finds a string by its id, and the framework
// asks it for frame titles, document strings and command prompts.
using StringResourceLoader = std::function<CString(UINT nID)>;

void AfxSetStringResourceLoader(StringResourceLoader loader);

// The string with id nID; empty when there is none (or no table).
CString AfxLoadString(UINT nID);

// Part nIndex of a string whose parts are separated by newlines; empty when
// the string has fewer parts.
CString AfxExtractSubString(const CString& strFull, int nIndex);
