#include "stage/play/display_mode.h"

namespace tessaru {

bool ChangeResolution(GraphLib& graph, UserSettings& settings, ErrorLog& errors, int16_t mode) {
  graph.ReleaseDirectDraw();
  graph.WaitSeconds(1.0);
  if (settings.FULLSCREEN == 0) {
    if (graph.InitDirectDraw(true, mode)) return true;
    if (mode == 1) {
      errors.Add("ビデオカードが320x240x16をサポートしていない可能性があります。設定を元に戻します・・");
      settings.RESOLUTION = 0;
      return ChangeResolution(graph, settings, errors, 0);
    }
    errors.Add("解像度の変更に失敗しました。");
    return false;
  }
  const int32_t displayMode = mode == 1 && settings.DRAWSTRET == 1 ? 2 : mode;
  if (graph.InitDirectDraw(false, displayMode)) return true;
  errors.Add("解像度の変更に失敗しました。");
  return false;
}

}  // namespace tessaru
