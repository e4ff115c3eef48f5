#pragma once

// Where users are sent about the Flash Player: its maker's site (named in the
// control's warning) and the download page registration offers to open.
inline constexpr char kFlashMakerAddress[] = "http://www.adobe.com/";
inline constexpr char kFlashDownloadAddress[] = "http://get.adobe.com/flashplayer/";
