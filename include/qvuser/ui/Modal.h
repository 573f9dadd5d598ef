#pragma once

#include <QDialog>

#include <functional>

namespace qv::ui {

// Every modal show goes through RunModal. Tests queue drivers: each modal show
// takes the next one, calls it once the dialog is visible, and the driver works
// the dialog's controls and closes it. Without a driver the dialog's own event
// loop runs until the user closes it.
using ModalDriver = std::function<void(QDialog &)>;

// Shows the dialog modally and returns its result code (QDialog::Accepted or
// QDialog::Rejected, or what done() was given).
int RunModal(QDialog &dialog);

// The test side of the modal helper.
namespace modal_driver {
void Push(ModalDriver driver);
int Pending();
void Clear();
// How many dialogs a driver left open (the helper then rejected them).
int LeftOpen();
} // namespace modal_driver

} // namespace qv::ui
