// Fixed texts naming the program and its maker. The web server's host is a
// build setting (QUORVANE_WEB_HOST); it makes both the home-page address and
// the version file's address.
#pragma once

#include <string>

#ifndef QUORVANE_WEB_HOST
#define QUORVANE_WEB_HOST "www.quorvane.com.br"
#endif

namespace quorvane {

inline constexpr const char* kVersion = "3.81";
inline constexpr const char* kApplicationTitle = "Quorvane 3.81";
inline const std::string kHomePage = std::string("http://") + QUORVANE_WEB_HOST;
inline const std::string kVersionFileAddress = kHomePage + "/quorvane_versao.txt";
inline const std::string CreditCaption = "By Durmont - " + kHomePage;
inline const std::string kWindowCaption = "Quorvane 3.81 - Verificador do registro - " + CreditCaption;

}  // namespace quorvane
