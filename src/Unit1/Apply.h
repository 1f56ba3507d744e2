#pragma once
// The update: copies the checked settings from the current user to the default user (the
// profile of the logon screen) and writes NumLock at start-up and the logon IME.

// Raises Exception, writing nothing, when the default user's profile does not open with full
// access; a registry error ends it at the failing step with the earlier writes kept.
void ApplySettings(bool style, bool colours, bool wallpaper, bool numLock, bool logonIme);
