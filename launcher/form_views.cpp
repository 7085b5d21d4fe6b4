#include "launcher/form_views.h"

#include <imgui.h>

#include "layout/launcher_layout.h"

namespace tessaru {
namespace {

using namespace form_text;
namespace lay = launcher_layout;

// The game's dusk palette: indigo grounds, violet frames, coral and amber for what matters.
ImVec4 Rgb(int r, int g, int b, float a = 1.0f) {
  return ImVec4(static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
                static_cast<float>(b) / 255.0f, a);
}
const ImVec4 kNight = Rgb(16, 14, 48);
const ImVec4 kIndigo = Rgb(34, 28, 88);
const ImVec4 kViolet = Rgb(86, 50, 140);
const ImVec4 kDusk = Rgb(168, 78, 132);
const ImVec4 kCoral = Rgb(255, 112, 96);
const ImVec4 kAmber = Rgb(255, 190, 72);
const ImVec4 kMint = Rgb(96, 232, 184);
const ImVec4 kWhite = Rgb(250, 248, 255);

constexpr ImGuiWindowFlags kClientFlags =
    ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
    ImGuiWindowFlags_NoBringToFrontOnFocus;

const char* C(std::string_view text) { return text.data(); }

ImVec2 V(float x, float y) { return ImVec2(x, y); }

// Every form fills the window's client area; the window's own caption is the form's.
bool BeginClient(const char* id, bool withBackground) {
  ImGui::SetNextWindowPos(V(0, 0));
  ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize);
  return ImGui::Begin(id, nullptr, kClientFlags | (withBackground ? 0 : ImGuiWindowFlags_NoBackground));
}

bool Button(std::string_view caption, float width = lay::kButtonWidth) {
  return ImGui::Button(C(caption), V(width, lay::kButtonHeight));
}

// A captioned frame around a group of controls, as a group box draws it.
void FrameCaption(std::string_view caption, const ImVec4& colour) {
  ImGui::PushStyleColor(ImGuiCol_Text, colour);
  ImGui::TextUnformatted(C(caption));
  ImGui::PopStyleColor();
  ImGui::Separator();
}

std::optional<FormChoice> DrawConv(ConvForm& form) {
  std::optional<FormChoice> choice;
  if (!BeginClient("##conv", true)) {
    ImGui::End();
    return choice;
  }
  ImGui::BeginDisabled(!form.Enabled);
  ImGui::TextUnformatted(C(kConvIntro));
  const float listHeight = lay::kConvClient.Height - 2.0f * lay::kMargin - 80.0f;
  if (ImGui::BeginListBox("##lbFile", V(-1.0f, listHeight))) {
    for (const std::string& path : form.Files) ImGui::Selectable(path.c_str(), false);
    ImGui::EndListBox();
  }
  ImGui::PushStyleColor(ImGuiCol_Text, kMint);
  ImGui::TextUnformatted(form.Progress.c_str());
  ImGui::PopStyleColor();
  ImGui::Spacing();
  const float right = lay::kConvClient.Width - lay::kMargin;
  ImGui::SetCursorPosX(right - 2.0f * lay::kButtonWidth - lay::kButtonGap);
  if (Button(kConvDecode)) choice = FormChoice::Command1;
  ImGui::SameLine(0.0f, lay::kButtonGap);
  if (Button(kConvCancel)) choice = FormChoice::Command2;
  ImGui::EndDisabled();
  ImGui::End();
  return choice;
}

void DrawDec(const Mp3DecForm& form) {
  const ImVec2 display = ImGui::GetIO().DisplaySize;
  ImGui::SetNextWindowPos(V(display.x * 0.5f, display.y * 0.5f), ImGuiCond_Always, V(0.5f, 0.5f));
  ImGui::SetNextWindowSize(V(lay::kDecWindow.Width, lay::kDecWindow.Height));
  ImGui::SetNextWindowFocus();
  // The caption changes with the file count; the id after "###" keeps it one window.
  const std::string title = form.Caption + "###dec";
  ImGui::Begin(title.c_str(), nullptr,
               ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoCollapse |
                   ImGuiWindowFlags_NoSavedSettings);
  ImGui::BeginDisabled(!form.Enabled);
  ImGui::Spacing();
  ImGui::PushTextWrapPos(0.0f);
  ImGui::TextUnformatted(form.Status.c_str());
  ImGui::PopTextWrapPos();
  ImGui::EndDisabled();
  ImGui::End();
}

std::optional<FormChoice> DrawBoot(BootForm& form, const platform::FormPicture& back) {
  std::optional<FormChoice> choice;
  const ImVec2 display = ImGui::GetIO().DisplaySize;
  if (back.Texture != nullptr) {
    ImGui::GetBackgroundDrawList()->AddImage(static_cast<ImTextureID>(back.Texture), V(0, 0),
                                             V(static_cast<float>(back.Width), static_cast<float>(back.Height)));
  }
  BeginClient("##boot", back.Texture == nullptr);
  // The notice frame, centred across the top.
  const float frameWidth = display.x - 2.0f * lay::kMargin;
  ImGui::SetCursorPos(V((display.x - frameWidth) * 0.5f, lay::kMargin));
  ImGui::PushStyleColor(ImGuiCol_ChildBg, Rgb(16, 14, 48, 0.82f));
  ImGui::BeginChild("##Frame1", V(frameWidth, lay::kNoticeHeight), true);
  FrameCaption(kNoticeTitle, kAmber);
  ImGui::PushTextWrapPos(0.0f);
  ImGui::TextUnformatted(C(kNoticeOwnRisk));
  ImGui::Spacing();
  ImGui::TextUnformatted(C(kNoticeOtherApps));
  ImGui::PopTextWrapPos();
  ImGui::EndChild();
  ImGui::PopStyleColor();

  ImGui::SetCursorPos(V(lay::kMargin, lay::kMargin + lay::kNoticeHeight + 8.0f));
  ImGui::Checkbox(C(kHideCursor), &form.HideCursor);

  const std::string_view buttons[3][2] = {
      {kOptions, kOptionsNote}, {kStart, kStartNote}, {kEnd, kEndNote}};
  const FormChoice results[3] = {FormChoice::Command1, FormChoice::Command2, FormChoice::Command3};
  for (int i = 0; i < 3; ++i) {
    const float y = lay::kBootButtonsTop + static_cast<float>(i) * (lay::kButtonHeight + lay::kButtonGap);
    ImGui::SetCursorPos(V(lay::kMargin + 16.0f, y));
    if (Button(buttons[i][0])) choice = results[i];
    // The explanation sits level with the middle of its button.
    ImGui::SetCursorPos(V(lay::kMargin + 16.0f + lay::kButtonWidth + 18.0f,
                          y + (lay::kButtonHeight - ImGui::GetTextLineHeight()) * 0.5f));
    ImGui::TextUnformatted(C(buttons[i][1]));
  }
  ImGui::End();
  return choice;
}

std::optional<FormChoice> DrawOptions(BootOptionsForm& form) {
  std::optional<FormChoice> choice;
  BeginClient("##options", true);
  ImGui::Checkbox(C(kAutoSearch), &form.AutoSearch);
  ImGui::Spacing();
  // Tall enough for its caption and two rows of controls, so it never scrolls.
  const ImGuiStyle& style = ImGui::GetStyle();
  const float frameHeight = 2.0f * style.WindowPadding.y + ImGui::GetTextLineHeightWithSpacing() +
                            style.ItemSpacing.y + 2.0f * ImGui::GetFrameHeightWithSpacing();
  ImGui::BeginChild("##Frame1", V(-1.0f, frameHeight), true);
  FrameCaption(kScreenMode, kAmber);
  ImGui::Checkbox(C(kFullScreen), &form.FullScreen);
  if (ImGui::RadioButton(C(kGdi), !form.UseDirectDraw)) form.UseDirectDraw = false;
  ImGui::SameLine(0.0f, 24.0f);
  if (ImGui::RadioButton(C(kDirectDraw), form.UseDirectDraw)) form.UseDirectDraw = true;
  ImGui::EndChild();
  const float y = lay::kOptionsClient.Height - lay::kMargin - lay::kButtonHeight;
  const float width = (lay::kOptionsClient.Width - 2.0f * lay::kMargin - lay::kButtonGap) * 0.5f;
  ImGui::SetCursorPos(V(lay::kMargin, y));
  if (Button(kSaveAndClose, width)) choice = FormChoice::Command1;
  ImGui::SameLine(0.0f, lay::kButtonGap);
  if (Button(kCancel, width)) choice = FormChoice::Command2;
  ImGui::End();
  return choice;
}

}  // namespace

void ApplyFormStyle() {
  ImGuiStyle& style = ImGui::GetStyle();
  style.WindowPadding = V(lay::kMargin, lay::kMargin);
  style.FramePadding = V(8, 5);
  style.ItemSpacing = V(8, 7);
  style.WindowRounding = 0.0f;
  style.ChildRounding = 2.0f;
  style.FrameRounding = 3.0f;
  style.WindowBorderSize = 1.0f;
  style.ChildBorderSize = 1.0f;
  style.FrameBorderSize = 1.0f;
  style.WindowTitleAlign = V(0.5f, 0.5f);
  ImVec4* c = style.Colors;
  c[ImGuiCol_Text] = kWhite;
  c[ImGuiCol_TextDisabled] = Rgb(130, 120, 170);
  c[ImGuiCol_WindowBg] = kNight;
  c[ImGuiCol_ChildBg] = Rgb(24, 20, 64);
  c[ImGuiCol_PopupBg] = kIndigo;
  c[ImGuiCol_Border] = kViolet;
  c[ImGuiCol_FrameBg] = kIndigo;
  c[ImGuiCol_FrameBgHovered] = Rgb(60, 44, 120);
  c[ImGuiCol_FrameBgActive] = kViolet;
  c[ImGuiCol_TitleBg] = kViolet;
  c[ImGuiCol_TitleBgActive] = kDusk;
  c[ImGuiCol_CheckMark] = kAmber;
  c[ImGuiCol_Button] = kViolet;
  c[ImGuiCol_ButtonHovered] = kDusk;
  c[ImGuiCol_ButtonActive] = kCoral;
  c[ImGuiCol_Header] = kIndigo;
  c[ImGuiCol_HeaderHovered] = kViolet;
  c[ImGuiCol_HeaderActive] = kDusk;
  c[ImGuiCol_Separator] = kViolet;
  c[ImGuiCol_ScrollbarBg] = kNight;
  c[ImGuiCol_ScrollbarGrab] = kViolet;
  c[ImGuiCol_NavHighlight] = kCoral;
}

FormView DrawForms(LauncherForms& forms, const platform::FormPicture& bootBack) {
  FormView view;
  if (forms.Options.Visible) {
    view.Title = std::string(kOptionsCaption);
    view.Client = {lay::kOptionsClient.Width, lay::kOptionsClient.Height};
    view.Choice = DrawOptions(forms.Options);
  } else if (forms.Boot.Visible) {
    view.Title = forms.Boot.Caption;
    view.Client = {lay::kBootClient.Width, lay::kBootClient.Height};
    view.Choice = DrawBoot(forms.Boot, bootBack);
  } else if (forms.Conv.Visible) {
    view.Title = std::string(kConvCaption);
    view.Client = {lay::kConvClient.Width, lay::kConvClient.Height};
    view.Choice = DrawConv(forms.Conv);
    if (forms.Dec.Visible) DrawDec(forms.Dec);
  }
  return view;
}

}  // namespace tessaru
