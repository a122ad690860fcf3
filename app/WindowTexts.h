#pragma once
// The window's texts, verbatim, in one place.

namespace kobalto::texts {

inline constexpr const char* kCaption = "Kobalto";
inline constexpr const char* kBanner = "Kobalto Image Pelorin";
inline constexpr const char* kModeAutomatic = "Kobalto自動縮小";
inline constexpr const char* kModePercent = "縮小率(%)を指定して縮小";
inline constexpr const char* kZoomLabel = "縮小率 : ";
inline constexpr const char* kRateLabel = "%";
inline constexpr const char* kHintDoubleClick = "画像をダブルクリックすると関連付けされているプレビューが開く";
inline constexpr const char* kHintExtensions =
    "使用できる拡張子は ( .bmp, .dib, .jpg,. jpeg, .gif, .png, tif, .tiff, .rle, .rla , .tga )";
inline constexpr const char* kHintDrop =
    "ここに画像をドロップするとデスクトップの「Kobalto」フォルダに縮小画像が出来ます";

// The publisher's page, opened by a click on the introduction.
inline constexpr const char* kPublisherAddress = "https://kobalto.example.org/";
inline constexpr const char* kIntroduction =
    "Kobalto のホームページ https://kobalto.example.org/ 2026\n"
    "Webデザインに使う画像をきれいに縮小する\n"
    "Kobalto の画像縮小ツールです";

// The settings file's path takes the place of %s.
inline constexpr const char* kCannotWriteSettings = "%s に書き込めません";

}  // namespace kobalto::texts
