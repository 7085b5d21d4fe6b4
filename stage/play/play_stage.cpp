#include "stage/play/play_stage.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <vector>

#include "content/data_files.h"
#include "core/paths.h"
#include "layout/play_layout.h"
#include "stage/play/display_mode.h"
#include "stage/play/stage_replays.h"
#include "stage/play/stage_run.h"
#include "stage/replay_playback.h"
#include "stage/tempo_map.h"

namespace tessaru {
namespace {

StageSetup SetupFor(const StageContext& c, const PlayAssets& a) {
  StageSetup setup = c.Setup;
  const UserSettings& s = c.Settings;
  setup.Settings.JudgeMode = s.JUDGEMODE;
  setup.Settings.JudgeOffset = s.JUDGEOFFSET;
  setup.Settings.JudgeStyle = s.JUDGESTYLE;
  setup.Settings.BgPartOffset = std::max(s.BGPARTOFFSET, kMinBgPartOffset);
  setup.Settings.Sounding = s.SOUNDING;
  setup.Settings.SndPanVolCtrl = s.SNDPANVOLCTRL;
  setup.Settings.EffectSwing = EffectSwing(a.Resolution);
  setup.SoundSlots = a.PartSlots;
  // A replay was recorded on the chart as written.
  for (size_t p = 0; p < 2; ++p) {
    if (setup.ReplayPlayback[p]) setup.LaneOpt[p] = 0;
  }
  return setup;
}

PlayViewOptions ViewOptionsFor(const StageContext& c, const PlayAssets& a) {
  PlayViewOptions o;
  o.PlayStyle = c.Setup.PlayStyle;
  o.Resolution = a.Resolution;
  o.ColorOpt = c.Setup.ColorOpt;
  o.VisibilityOpt = c.Setup.VisibilityOpt;
  o.DrawDance = c.Settings.DRAWDANCE == 0;
  const double bpm = c.Song.Bpm > 0 && std::isfinite(c.Song.Bpm) ? c.Song.Bpm : 120.0;
  o.DanceScale = 120.0 / bpm;
  return o;
}

void ShowLoading(StageContext& c) {
  GraphLib& g = c.Graph;
  g.ClearSurface(BackIndex);
  g.DrawSystemText(BackIndex, "NOW LOADING", g.ScreenWidth() - 192, g.ScreenHeight() - 64, 0);
  g.FlipScreen();
}

// Brings back the menus' sheets, on new pages when the display was made anew.
void RestoreMenuSheets(StageContext& c, bool displayRecreated) {
  static constexpr std::string_view kSheets[2] = {data_files::kStageSheet, data_files::kStageSheetLow};
  for (int i = 0; i < 2; ++i) {
    SurfaceIndex& page = c.MenuSheetPages[static_cast<size_t>(i)];
    if (page < 0) continue;
    if (displayRecreated) page = c.Graph.NewSurface(0, 0);
    if (page < 0) continue;
    const std::string path = c.DataPath + std::string(kSheets[i]);
    if (!c.Graph.LoadSurfaceImage(page, std::string_view(path))) c.Errors.AddLoadFailure(path);
  }
}

}  // namespace

void FillOutcome(StageOutcome& out, const Stage& stage) {
  out.EndState = stage.EndState();
  out.LastStep = stage.LastStep();
  out.StepLimit = stage.StepLimit();
  out.RunLife = stage.RunLife();
  for (int p = 0; p < 2; ++p) {
    const StagePlayer& s = stage.Player(p);
    auto& o = out.Players[p];
    o.JudgeCount = s.JudgeCount;
    o.StagePoints = s.StagePoints;
    o.TourTotal = s.TourTotal;
    o.StageScore = s.StageScore;
    o.Gauge = stage.Gauge(p);
    o.MaxCombo = s.MaxCombo;
    o.ComboCount = s.ComboCount;
    o.KnockedOut = s.KnockedOut;
    o.PressDeltas = s.PressDeltas;
    o.Autoplayed = stage.Autoplayed(p);
  }
}

bool StageLost(int16_t playStyle, int16_t endState, const std::array<bool, 2>& humans,
               const std::array<int16_t, 2>& knockedOut, int16_t gauge0) {
  switch (playStyle) {
    case 0: {
      const bool anyHuman = humans[0] || humans[1];
      const bool allOut = (!humans[0] || knockedOut[0] != 0) && (!humans[1] || knockedOut[1] != 0);
      return anyHuman && allOut && endState != 0;
    }
    case 1:
    case 2: return gauge0 < 1000;
    case 3: return gauge0 <= 0;
    default: return false;
  }
}

// --- the running stage ----------------------------------------------------------------

StageRun::StageRun(StageContext& context, PlayAssets& assets, int16_t resolution)
    : context_(context),
      assets_(assets),
      resolution_(resolution),
      rng_(context.Rng),
      sink_(context.Sound, VolumeToAttenuation(context.Settings.PLAYERVOLUME)),
      track_(context.Sound, assets.Track),
      ticks_(context.Clock) {
  if (rng_ == nullptr) {
    ownRng_ = std::make_unique<Random>(context.Clock.GetTickCount());
    rng_ = ownRng_.get();
  }
  stage_ = std::make_unique<Stage>(context.Song, context.Parts, SetupFor(context, assets), *rng_, &sink_);
  view_ = std::make_unique<PlayView>(context.Graph, assets, *stage_, ViewOptionsFor(context, assets));
  maxFps_ = context.Settings.MAXFPS < 1 ? int16_t{60} : context.Settings.MAXFPS;
}

void StageRun::Start(int32_t startStep) {
  context_.Input.UpdateFuncState(true);
  const int32_t startMs = std::max(0, static_cast<int32_t>(std::floor(StepToTime(context_.Song, startStep))));
  if (assets_.Track >= 0) {
    // A section part-way into the song puts the track where that song time sounds.
    const int32_t trackMs = std::max(0, startMs - context_.Song.BgmOffset);
    const bool placed = startMs == 0 || context_.Sound.SetSoundPositionMs(assets_.Track, trackMs);
    // A position past the track's end simply leaves the section without it.
    trackPlaying_ = placed && context_.Sound.PlaySound(assets_.Track, startMs == 0, false);
    if (placed && !trackPlaying_) context_.Errors.Add(context_.SongPath + "のBGMファイルの再生に失敗");
  }
  if (startStep == 0 && assets_.Ready >= 0 && context_.Settings.SOUNDING < 3) {
    context_.Sound.PlaySound(assets_.Ready, true, false);
  }
  // A track that will not play leaves the stage on the tick counter from here.
  clock_ = std::make_unique<SongClock>(trackPlaying_ ? &track_ : nullptr, ticks_,
                                       trackPlaying_ ? context_.Song.BgmOffset : 0);
  if (trackPlaying_) track_.Sample();
  clock_->Start(startMs);
  context_.Outcome.StartMs = context_.Clock.NowMs();
  lastFpsTick_ = Ticks();
  view_->Begin();
}

void StageRun::StopSounds() {
  context_.Sound.StopSound(assets_.Track);
  context_.Sound.StopSound(assets_.Ready);
  for (const auto& part : assets_.PartSlots) {
    for (const int16_t slot : part) context_.Sound.StopSound(slot);
  }
}

double StageRun::ExactSongTime(int32_t songTime, double nowMs) {
  if (trackPlaying_ && !clock_->OnTickCounter()) {
    const double exact = track_.LastExactMs() + context_.Song.BgmOffset;
    return std::clamp(exact, static_cast<double>(songTime), songTime + 0.999);
  }
  return songTime + (nowMs - std::floor(nowMs));
}

void StageRun::JudgePresses(double songExact, double nowMs) {
  struct Pending {
    double Time;
    int Player;
    int16_t Lane;
  };
  std::vector<Pending> presses;
  for (int p = 0; p < 2; ++p) {
    if (context_.Setup.ComSkill[p] >= 0) continue;
    for (int16_t lane = 1; lane <= 4; ++lane) {
      for (const InputPress& press : context_.Input.FuncPresses(p, lane)) {
        // The key went down (nowMs - press time) before this reading of the song clock.
        // Kept to 10 microseconds: finer digits are below one audio frame, only the noise
        // of the track position's interpolation.
        const double raw = std::max(0.0, songExact - std::max(0.0, nowMs - press.TimeMs));
        const double t = std::round(raw * 100.0) / 100.0;
        presses.push_back({t, p, lane});
      }
    }
  }
  std::stable_sort(presses.begin(), presses.end(), [](const Pending& a, const Pending& b) { return a.Time < b.Time; });
  for (const Pending& press : presses) {
    if (press.Player == 0) ++context_.Outcome.PressCount;
    stage_->Update(static_cast<int32_t>(std::floor(press.Time)));
    const PressResult r = stage_->Press(press.Player, press.Lane, press.Time);
    if (press.Player == 0 && r.Judged && r.Category != JudgeNone) {
      context_.Outcome.Presses.push_back({press.Time, press.Lane, r.Step >= 0 ? r.Delta : 0.0, r.Category});
    }
  }
}

void StageRun::Iterate(int caption, int32_t number) {
  ++context_.Outcome.Iterations;
  context_.Input.UpdateFuncState(true);
  if (replayRequestsOpen_) TakeReplayRequests();
  const double nowMs = context_.Clock.NowMs();
  if (trackPlaying_) track_.Sample();
  const int32_t songTime = clock_->Read();
  JudgePresses(ExactSongTime(songTime, nowMs), nowMs);
  stage_->Update(songTime);
  view_->AfterUpdate();
  if (stage_->EndState() == 0 && (KeyPressed(kVkF1) || KeyPressed(kVkEscape) || WindowClosed())) stage_->Cut();

  // Drawing is throttled by MAXFPS; everything above runs on every iteration.
  if (maxFps_ >= 125 || songTime - lastDrawTime_ >= 1000 / maxFps_ - 1) {
    DrawFrame(caption, number);
    lastDrawTime_ = songTime;
  }
  const uint32_t now = Ticks();
  if (now - lastFpsTick_ >= 1000) {
    shownFps_ = maxFps_ < 125 ? std::min<uint32_t>(frameCount_, static_cast<uint32_t>(maxFps_)) : frameCount_;
    frameCount_ = 0;
    lastFpsTick_ = now;
  }
}

void StageRun::TakeReplayRequests() {
  for (int p = 0; p < 2; ++p) {
    const size_t i = static_cast<size_t>(p);
    if (replayRequested_[i] || !ReplaySaveAllowed(context_.Setup, p)) continue;
    if (context_.Input.FuncState(p, 0) != tessaru::KeyPressed) continue;
    replayRequested_[i] = true;
    const SoundSlot decide = LoadStageSound(context_, assets_, "\\sound\\decide.wav");
    if (decide >= 0) context_.Sound.PlaySound(decide, true, false);
  }
}

void StageRun::DrawResultNotes() {
  const bool low = resolution_ == kLowResolution;
  for (int p = 0; p < 2; ++p) {
    const size_t i = static_cast<size_t>(p);
    const std::string side = p == 0 ? "1P " : "2P ";
    std::string text;
    if (stage_->Autoplayed(p)) {
      text = side + "AUTOPLAY";
    } else if (ReplaySaveAllowed(context_.Setup, p)) {
      text = side + (replayRequested_[i] ? (low ? "REPLAY OK" : "REPLAY WILL BE SAVED")
                                         : (low ? "DECIDE:SAVE" : "DECIDE: SAVE REPLAY"));
    } else {
      continue;
    }
    const ReplayNotePlace at = ReplayNoteAt(p, static_cast<int32_t>(text.size()), resolution_);
    context_.Graph.DrawSystemText(BackIndex, text, at.X, at.Y, 1);
  }
}

void StageRun::DrawFrame(int caption, int32_t number) {
  view_->Draw();
  if (caption >= 0) view_->DrawCaption(caption, number);
  if (replayRequestsOpen_) DrawResultNotes();
  context_.Graph.FlipScreen();
  if (context_.FrameDrawn) context_.FrameDrawn(stage_->SongTime());
  ++frameCount_;
  ++context_.Outcome.FramesDrawn;
}

bool StageRun::KeyPressed(int input) const { return context_.Input.KeyState(input) == tessaru::KeyPressed; }
bool StageRun::EscapeDown() const { return context_.Input.KeyState(kVkEscape) != KeyIdle; }
bool StageRun::WindowClosed() const { return context_.WindowClosed && context_.WindowClosed(); }

bool StageRun::HumanDecided() const {
  for (int p = 0; p < 2; ++p) {
    if (context_.Setup.ComSkill[p] >= 0) continue;
    for (int slot = 1; slot <= 3; ++slot) {
      if (context_.Input.FuncState(p, slot) == tessaru::KeyPressed) return true;
    }
  }
  return false;
}

// --- PlayStage --------------------------------------------------------------------------

int16_t WithStageDisplay(StageContext& c, const std::function<int16_t(PlayAssets&)>& play) {
  c.Outcome = {};
  bool lowDisplay = false;
  if (c.Settings.RESOLUTION == kLowResolution) {
    lowDisplay = true;
    if (!ChangeResolution(c.Graph, c.Settings, c.Errors, kLowResolution)) {
      c.Outcome.QuitRequested = true;
      c.Outcome.ResultCode = -1;
      return -1;
    }
  }
  PlayAssets assets;
  assets.Resolution = c.Graph.ScreenWidth() == 320 ? kLowResolution : int16_t{0};
  if (lowDisplay) {
    // The display was made anew: the stage brings its own copy of the system font.
    assets.Font = c.Graph.NewSurface(0, 0);
    if (assets.Font >= 0) {
      assets.OwnedPages.push_back(assets.Font);
      c.Graph.LoadSystemFont(assets.Font);
    }
  }
  ShowLoading(c);

  int16_t result = 0;
  if (!LoadPlayAssets(c, assets)) {
    result = -1;
    c.Outcome.QuitRequested = true;
  } else {
    result = play(assets);
    c.Sound.StopSound(assets.Track);
  }

  // Tear-down: every slot and page the stage made, then the display and the menus' sheets.
  ReleasePlayAssets(c, assets);
  if (lowDisplay) {
    ChangeResolution(c.Graph, c.Settings, c.Errors, 0);
    // The player's choice stays as it was; only the display went back.
    if (c.DisplayRecreated) c.DisplayRecreated();
  }
  RestoreMenuSheets(c, lowDisplay);
  c.Outcome.ResultCode = result;
  return result;
}

int16_t PlayStage(StageContext& c) {
  return WithStageDisplay(c, [&c](PlayAssets& assets) -> int16_t {
    LoadStageReplays(c);
    StageRun run(c, assets, assets.Resolution);
    run.Start();
    while (run.GetStage().EndState() == 0) run.Iterate();
    const Stage& stage = run.GetStage();
    FillOutcome(c.Outcome, stage);
    if (run.EscapeDown() || run.WindowClosed()) {
      c.Outcome.QuitRequested = true;
      SaveStageReplays(c, stage, {false, false});
      return -1;
    }
    const std::array<bool, 2> humans{c.Setup.ComSkill[0] < 0, c.Setup.ComSkill[1] < 0};
    const bool lost = StageLost(c.Setup.PlayStyle, stage.EndState(), humans,
                                {stage.Player(0).KnockedOut, stage.Player(1).KnockedOut}, stage.Gauge(0));
    c.Outcome.Lost = lost;
    c.Outcome.SequenceStartMs = c.Clock.NowMs();
    if (c.StageEnded) c.StageEnded(c.Outcome);
    const int16_t result = RunResultSequence(run, lost, c.ContinueAllowed);
    if (result == -1) c.Outcome.QuitRequested = true;
    SaveStageReplays(c, stage, run.ReplayRequests());
    return result;
  });
}

}  // namespace tessaru
