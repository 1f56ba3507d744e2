#pragma once
// The program's version text and the link to the maker's web site.

#include <string>

// "FileVersion" of the program's own version block, string table "041103A4". Raises an
// assertion failure when the block (line 30) or the text (line 32) cannot be read.
std::string GetFileVersionText();

class TDdeMgr;

// The maker's web site.
inline constexpr char SiteUrl[] = "http://tollemark.example/";

// Sends the site's address to the default browser over DDE on the topic "WWW_OpenURL",
// starting the browser first when no server answers. Tells nothing back.
void OpenWebSite(TDdeMgr& dde);
