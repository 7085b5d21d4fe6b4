#pragma once
// The launcher's four dialogs as plain state: what each one shows and what the player has
// set on it. The start-up sequence writes these; the window draws whatever is visible.
#include <string>
#include <string_view>
#include <vector>

namespace tessaru {

// The scan and conversion dialog.
struct ConvForm {
  bool Visible = false;
  bool Enabled = true;
  std::vector<std::string> Files;  // lbFile: the MP3 files to convert, in the order found
  std::string Progress;            // lbPG
};

// The small progress window of a decode run.
struct Mp3DecForm {
  bool Visible = false;
  bool Enabled = true;
  std::string Caption;
  std::string Status;  // Label1
};

// The boot menu.
struct BootForm {
  bool Visible = false;
  std::string Caption;
  std::string BackgroundPath;  // the picture behind the menu; missing is fine
  bool HideCursor = false;     // Check1
};

// The options dialog.
struct BootOptionsForm {
  bool Visible = false;
  bool AutoSearch = false;     // cbAD
  bool FullScreen = false;     // cbFS
  bool UseDirectDraw = false;  // obDx: false = option 0, true = option 1
};

struct LauncherForms {
  ConvForm Conv;
  Mp3DecForm Dec;
  BootForm Boot;
  BootOptionsForm Options;
};

namespace form_text {
inline constexpr std::string_view kConvCaption = "自動MP3検出・WAVEデコード";
inline constexpr std::string_view kConvIntro = "WAVEファイルに変換するMP3ファイル：";
inline constexpr std::string_view kConvDecode = "デコード開始";
inline constexpr std::string_view kConvCancel = "キャンセル";
inline constexpr std::string_view kSearching = "検索中 : ";
inline constexpr std::string_view kFoundSuffix = "個の未更新MP3ファイルが検出されました。";

inline constexpr std::string_view kDecCaption = "最小MP3→WAVE デコーダ";
inline constexpr std::string_view kInitFailed = "初期化失敗";
inline constexpr std::string_view kLoading = "ロード中";
inline constexpr std::string_view kLoadFailed = "ロード失敗";
inline constexpr std::string_view kDecoding = "デコード中：";
inline constexpr std::string_view kDecoded = "デコード完了：";
inline constexpr std::string_view kDecodeFailed = "デコード失敗 err : ";
inline constexpr std::string_view kClosing = "クローズ中";
inline constexpr std::string_view kFinishing = "終了処理中";
inline constexpr std::string_view kColon = "：";

inline constexpr std::string_view kBootCaptionPrefix = "Tessaru VER.";
inline constexpr std::string_view kBootCaptionSuffix = "起動メニュー";
inline constexpr std::string_view kNoticeTitle = "注意！";
inline constexpr std::string_view kNoticeOwnRisk =
    "このゲームの使用は自己責任でお願いします。このゲームの使用による、いかなる損害も補償できません。";
inline constexpr std::string_view kNoticeOtherApps =
    "他のアプリケーションを起動していると、誤動作を起こすことがあります。";
inline constexpr std::string_view kHideCursor = "ゲーム中マウスカーソルを消す　(テスト版用)";
inline constexpr std::string_view kOptions = "オプション";
inline constexpr std::string_view kOptionsNote = "ゲーム起動時の設定をします";
inline constexpr std::string_view kStart = "スタート";
inline constexpr std::string_view kStartNote = "ゲームを開始します";
inline constexpr std::string_view kEnd = "終了";
inline constexpr std::string_view kEndNote = "終了します";

inline constexpr std::string_view kOptionsCaption = "起動オプション";
inline constexpr std::string_view kAutoSearch = "MP3ファイルを自動検索";
inline constexpr std::string_view kScreenMode = "画面モード";
inline constexpr std::string_view kFullScreen = "FullScreen";
inline constexpr std::string_view kGdi = "WindowsGDI";
inline constexpr std::string_view kDirectDraw = "DirectDraw";
inline constexpr std::string_view kSaveAndClose = "保存して閉じる";
inline constexpr std::string_view kCancel = "キャンセル";

inline constexpr std::string_view kErrorTitle = "Error!";
inline constexpr std::string_view kSecondCopy = "すでに、Tessaruが起動されているようです。";
inline constexpr std::string_view kDecodeRunFailed = "デコードに失敗しました";
inline constexpr std::string_view kSaveFailed = "の保存に失敗しました";
}  // namespace form_text

}  // namespace tessaru
