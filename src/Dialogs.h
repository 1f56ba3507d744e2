#pragma once
// Message dialogs for expected outcomes and questions, the error report for every error that
// escapes a handler, and the last-resort report for an error before any window exists.

#include <exception>
#include <string>

inline constexpr char ApplicationTitle[] = "Quillane";

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };
enum class TMsgDlgButtons { mbOK, mbOKCancel };
enum class TModalResult { mrOk, mrCancel };

// Modal, centred on the screen, with the type's caption and icon and the buttons "OK" and
// "キャンセル" whatever the system's own language.
TModalResult MessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

// The error's message with a full stop where it lacks one, caption "Quillane", stop icon, OK.
void ReportError(const std::exception& error);

// "Application Error" box for an error raised while the program starts; the caller then ends
// the process with exit code 1.
void ReportStartupError(const std::exception& error, const void* place);
