#pragma once

#include <string>

class QPrinter;
class QWidget;

namespace velunorh {

// Before a print to a PDF file: asks for the file, proposing `fileName` (the session's name for
// what is printed) in the folder of the last one, and asks before an existing file is
// replaced ("Mégse" there opens the file dialog again). Sets the printer's file and returns true
// to go on, false when the user closed the file dialog.
// A printer that prints to a queue is left alone (true).
bool AskPrintFile(QWidget* parent, QPrinter& printer, const std::string& fileName);

}  // namespace velunorh
