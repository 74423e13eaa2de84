#pragma once

#include <QRect>

#include <array>

namespace kelvarn {

// Every module panel fills the same rectangle below the tab bar; the tips promise users a
// splash picture of 988 x 586, so these numbers are part of what they see.
inline constexpr QRect kModulePanelRect(3, 21, 988, 586);
inline constexpr QRect kSplashPictureRect(3, 22, 987, 585);

// Hidden at creation and again when the start-up begins; the selected tab shows one.
inline constexpr std::array<const char*, 20> kModulePanelNames = {
    "PanelPodnikatel",  "PanelFVseznam",       "PanelFAV",       "PanelFPseznam",      "PanelFAP",
    "PanelHlavniKniha", "PanelKnihaJizd",      "PanelPPDseznam", "PanelPPD",           "PanelVPDseznam",
    "PanelVPD",         "PanelMajetekseznam",  "PanelMajetek",   "PanelDPH",           "PanelZboziSeznam",
    "PanelZbozi",       "PanelPartneriSeznam", "PanelPartneri",  "PanelZakazkySeznam", "PanelZakazky",
};

} // namespace kelvarn
