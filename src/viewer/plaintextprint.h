#pragma once

#include <QStringList>
#include <functional>
#include <memory>

class QPlainTextEdit;
class QPrinter;

// The lines of the text area as it shows them: with word wrap on, every wrapped display line is
// a line of its own.
QStringList displayLines(const QPlainTextEdit &memo);

// Prints the lines in order, one printed line each, in the printer's default font, starting a new
// page when a page is full. The job is closed also when printing fails; a failure throws
// UserError. Answers the number of pages printed.
int printPlainLines(QPrinter &printer, const QStringList &lines);

// Gives the printer that Print writes to; nullptr when there is none to print on.
using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;

// The system's default printer, or nullptr when no printer is installed.
std::unique_ptr<QPrinter> defaultSystemPrinter();
