#pragma once

#include <QString>

class QLabel;

// Text that came from the network or from a file (station names, stream
// titles, list fields, page titles) is data, never markup: everything that
// shows such text goes through here, so that no station can make the program
// load a file, draw a picture or lay out a huge table.

// Makes the label show its text exactly as given.
void ShowAsPlainText(QLabel* pLabel);

// A tooltip that reads exactly as strText. Qt shows a tip as rich text when
// the text looks like markup; such a text is escaped, anything else is
// returned as it is.
QString PlainToolTip(const QString& strText);

// A window title that reads exactly as strText: Qt takes "[*]" in a title
// for the place of the unsaved-changes mark, and shows it as written only
// when it is doubled.
QString PlainWindowTitle(const QString& strText);
// The text a title made by PlainWindowTitle was made from.
QString TextOfPlainWindowTitle(const QString& strTitle);
