// The interpreter's error boxes and the checks of the handler pattern.
#include <cstring>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "platform/Encoding.h"
#include "scenario/SnrBuffer.h"
#include "scenario/interp/DIBSnrBaseScreen.h"
#include "scenario/interp/SnrParams.h"

void CDIBSnrBaseScreen::EndGameByError() {
  Trace("CDIBSnrBaseScreen::EndGameByError");
  // Nothing runs any more: the close message ends the program after this
  // frame, saving as at any normal exit.
  mbErrorEnd = true;
  mbContinue = false;
  if (gpMainWindow) gpMainWindow->ForceClose();
}

void CDIBSnrBaseScreen::ErrorMsg(const char* title, const char* text, bool end) {
  Trace("CDIBSnrBaseScreen::ErrorMsg");
  if (gpMainWindow) gpMainWindow->ErrorMsg("【%s】%s", title ? title : "", text ? text : "");
  if (end) EndGameByError();
}

void CDIBSnrBaseScreen::ErrorNumParam(const char* command, int count) {
  Trace("CDIBSnrBaseScreen::ErrorNumParam");
  if (gpMainWindow) gpMainWindow->ErrorMsg("【%s】パラメータ数が不正エラー(パラメータ数：%d個)", command, count);
  EndGameByError();
}

void CDIBSnrBaseScreen::ErrorTypeParam(const char* command, int param) {
  Trace("CDIBSnrBaseScreen::ErrorTypeParam");
  if (gpMainWindow) gpMainWindow->ErrorMsg("【%s】パラメータタイプが不正エラー(パラメータ：%d番)", command, param);
  EndGameByError();
}

void CDIBSnrBaseScreen::ErrorParam(const char* command, int param) {
  Trace("CDIBSnrBaseScreen::ErrorParam");
  if (gpMainWindow) gpMainWindow->ErrorMsg("【%s】パラメータが不正エラー(パラメータ：%d番)", command, param);
  EndGameByError();
}

void CDIBSnrBaseScreen::ErrorRead(const char* command, const char* file, bool end) {
  Trace("CDIBSnrBaseScreen::ErrorRead");
  if (gpMainWindow) gpMainWindow->ErrorMsg("【%s】読み込みエラー(ファイル名：%s)", command, file ? file : "");
  if (end) EndGameByError();
}

void CDIBSnrBaseScreen::MoveCmdUnknow() {
  Trace("CDIBSnrBaseScreen::MoveCmdUnknow");
  ErrorMsg(plat::LocalText("未知のコマンド"), plat::LocalText("コマンドシークエラー"), true);
}

bool CDIBSnrBaseScreen::CheckCount(const char* command, const CSnrParams& params, int least, int most) {
  Trace("CDIBSnrBaseScreen::CheckCount");
  if (params.Count() >= least && params.Count() <= most) return true;
  ErrorNumParam(command, params.Count());
  return false;
}

bool CDIBSnrBaseScreen::CheckKinds(const char* command, const CSnrParams& params, const char* kinds) {
  Trace("CDIBSnrBaseScreen::CheckKinds");
  size_t letters = strlen(kinds);
  for (int i = 0; i < params.Count() && letters; ++i) {
    char kind = kinds[static_cast<size_t>(i) < letters ? i : letters - 1];
    if (kind == '*') continue;
    if (params.IsString(i) != (kind == 's')) {
      ErrorTypeParam(command, i + 1);
      return false;
    }
  }
  return true;
}

bool CDIBSnrBaseScreen::CheckRange(const char* command, int param, int32_t value, int32_t lo, int32_t hi) {
  Trace("CDIBSnrBaseScreen::CheckRange");
  if (value >= lo && value <= hi) return true;
  ErrorParam(command, param);
  return false;
}

bool CDIBSnrBaseScreen::JumpLabel(const char* command, int param, int32_t label) {
  Trace("CDIBSnrBaseScreen::JumpLabel");
  // A label the file does not have would leave the position where it is
  // and run the same jump for ever.
  if (mpBuffer->JumpToLabel(label)) return true;
  ErrorParam(command, param);
  return false;
}
