#pragma once
// Whether the logon screen offers the Japanese IME: the default user's preload list holds
// its layout. Hiding moves the list aside into a backup and leaves the plain Japanese
// keyboard; showing moves the backup back.

// True when the active list holds the IME. When the active list is lost while the backup
// holds the IME, recreates it with the plain keyboard alone (the hidden state).
bool IsLogonImeShown();

// Shows or hides the IME on the logon screen; always true.
bool SetLogonIme(bool show);
