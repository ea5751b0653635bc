// The message window: making and freeing it, collecting a message, and the
// frame's order of work.
#include "text/MesWnd.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "app/core/MainWindow.h"
#include "app/core/Trace.h"
#include "assets/DIBDisplay.h"
#include "assets/DIBImage.h"
#include "assets/DIBSprite.h"
#include "assets/SpriteCache.h"
#include "platform/Encoding.h"
#include "save/SaveData.h"
#include "text/MesCellPainter.h"
#include "ui/DIBBaseCtrl.h"
#include "ui/Input.h"

CDIBMesWnd::CDIBMesWnd(CBaseGame* parent) : CDIBBaseWnd(parent) { Trace("CDIBMesWnd::CDIBMesWnd"); }

CDIBMesWnd::~CDIBMesWnd() {
  Trace("CDIBMesWnd::~CDIBMesWnd");
  CDIBMesWnd::Release();
}

bool CDIBMesWnd::Initialize() {
  Trace("CDIBMesWnd::Initialize");
  if (!IsSetupLoaded()) SetupStatic();
  if (!CDIBBaseWnd::Initialize()) return false;
  const MesWndSetup& s = Setup();
  CMainWindow* app = gpMainWindow;
  CSpriteCache* cache = app ? app->mpSpriteCache : nullptr;

  mSrc = new (std::nothrow) MesSrc[kSrcMax];
  mChar = new (std::nothrow) MesChar[kCharMax];
  mBackLog = new (std::nothrow) BackLogPage[kBackLogPages];
  mpBLCollect = new (std::nothrow) BackLogPage;
  if (!mSrc || !mChar || !mBackLog || !mpBLCollect) {
    if (app) app->ErrorMemory("CDIBMesWnd", "mBackLog");
    return false;
  }
  memset(mChar, 0, sizeof(MesChar) * kCharMax);
  memset(mpBLCollect, 0, sizeof *mpBLCollect);

  // The pictures first: without them the window cannot be drawn.
  mpWndParts = cache ? cache->Read(s.szParts) : nullptr;
  if (!mpWndParts) {
    if (app) app->ErrorRead("CDIBMesWnd", s.szParts);
    return false;
  }
  if (s.szNameParts[0]) {
    mpNameParts = cache->Read(s.szNameParts);
    if (!mpNameParts) {
      if (app) app->ErrorRead("CDIBMesWnd", s.szNameParts);
      return false;
    }
  }
  if (!MakeButtons()) {
    if (app) app->ErrorETC("CDIBMesWnd", "MakeControl()");
    return false;
  }

  const int32_t tw = s.nTextArea[2] - s.nTextArea[0] + 1, th = s.nTextArea[3] - s.nTextArea[1] + 1;
  mpWndImage = std::make_unique<CDIBImage>();
  mpWndImage->Create(800, 600);
  for (auto& image : mpTextImage) {
    image = std::make_unique<CDIBImage>();
    image->Create(tw, th);
  }
  if (!mpWndImage->GetPixels() || !mpTextImage[0]->GetPixels() || !mpTextImage[1]->GetPixels()) {
    if (app) app->ErrorMemory("CDIBMesWnd", "mpTextImage");
    return false;
  }

  mpTextBuffer = std::make_unique<CMesTextBuffer>();
  mpTextBuffer->Initialize();
  CMesTextBuffer& t = *mpTextBuffer;
  t.mnLeft = s.nTextArea[0];
  t.mnTop = s.nTextArea[1];
  t.mnRight = s.nTextArea[2];
  t.mnBottom = s.nTextArea[3];
  t.mnLineSpace = s.nLineSpace;
  t.mnCharSpace = s.nCharSpace;
  t.mnFontSize = s.nFontSize;
  t.mdwColor = 0xFFFFFFFFu;
  t.mdwShadowColor = 0xFF010101u;
  t.mbBold = false;
  t.ResetPen();

  mnOpenCloseSpan = s.nOpenCloseSpan;
  mbShow = true;
  mnNameNo = mnNameShow = mnNameNext = -1;
  mnBLTop = mnBLEnd = mnBLView = mnBLCount = 0;
  mnPC = 0;
  mChar[0].nKind = MESCHAR_END;
  if (app && app->mpSaveData && app->mpSaveData->mbReplay)
    for (int32_t id : {MESBTN_QSAVE, MESBTN_QLOAD, MESBTN_SAVE, MESBTN_LOAD}) SetBtnEnable(id, false);

  UpdateWndImage(true);
  UpdateEnableBLUpDownBtn();
  UpdateEnableQLoadBtn();
  UpdateWndImageVB();
  UpdataNameVB();
  return true;
}

void CDIBMesWnd::Release() {
  Trace("CDIBMesWnd::Release");
  CDIBBaseWnd::Release();
  CSpriteCache* cache = gpMainWindow ? gpMainWindow->mpSpriteCache : nullptr;
  if (cache) {
    if (mpWndParts) cache->Free(mpWndParts);
    if (mpNameParts) cache->Free(mpNameParts);
  }
  mpWndParts = mpNameParts = nullptr;
  mpWndImage.reset();
  mpTextImage[0].reset();
  mpTextImage[1].reset();
  mpSumSource.reset();
  mpPainter.reset();
  mpTextBuffer.reset();
  delete[] mSrc;
  delete[] mChar;
  delete[] mBackLog;
  delete mpBLCollect;
  mSrc = nullptr;
  mChar = nullptr;
  mBackLog = nullptr;
  mpBLCollect = nullptr;
  mnSrcCount = 0;
  mbComposed = false;
  mbRun = false;
}

void CDIBMesWnd::FirstForcus() {
  Trace("CDIBMesWnd::FirstForcus");
  SetForcusReq(MESBTN_VOICE);
}

void CDIBMesWnd::SetReturnBGM(const char* name) {
  Trace("CDIBMesWnd::SetReturnBGM");
  snprintf(mszReturnBGM, sizeof mszReturnBGM, "%s", name ? name : "");
}

void CDIBMesWnd::AddOutString(const char* text) {
  Trace("CDIBMesWnd::AddOutString");
  if (!mSrc || mnSrcCount >= kSrcMax) return;
  MesSrc& s = mSrc[mnSrcCount++];
  memset(&s, 0, sizeof s);
  s.bText = 1;
  // At most 511 bytes; a character cut in two at the end is dropped.
  size_t n = 0;
  const char* p = text ? text : "";
  while (p[n] && n < sizeof s.szText - 1) {
    const bool lead = plat::IsLeadByte(static_cast<uint8_t>(p[n]));
    if (lead && (n + 1 >= sizeof s.szText - 1 || !p[n + 1])) break;
    n += lead ? 2 : 1;
  }
  memcpy(s.szText, p, n);
}

void CDIBMesWnd::AddOutFunc(int32_t kind) {
  Trace("CDIBMesWnd::AddOutFunc");
  if (!mSrc || mnSrcCount >= kSrcMax) return;
  MesSrc& s = mSrc[mnSrcCount++];
  memset(&s, 0, sizeof s);
  s.nFunc = kind;
}

void CDIBMesWnd::SetOutVFName(const char* name) {
  Trace("CDIBMesWnd::SetOutVFName");
  snprintf(mszVoiceNext, sizeof mszVoiceNext, "%s", name ? name : "");
}

bool CDIBMesWnd::SetOutNameNo(int32_t n) {
  Trace("CDIBMesWnd::SetOutNameNo");
  if (n < 0) {
    mnNameNext = -1;
    return true;
  }
  if (!mpNameParts || n >= mpNameParts->GetSprtCount()) return false;
  mnNameNext = n;
  return true;
}

bool CDIBMesWnd::OutStart(int32_t mesNo) {
  Trace("CDIBMesWnd::OutStart");
  if (!mChar || !mpTextBuffer) return true;
  mnMesNo = mesNo;
  mnNameNo = mnNameNext;
  if (!mbBLMode) mnNameShow = mnNameNo;
  mbRun = true;
  memcpy(mszVoice, mszVoiceNext, sizeof mszVoice);
  // The records before the one being played have all been shown: the new
  // message starts at the top of the list.
  mnPC = 0;
  mpTextBuffer->Convert(mSrc, mnSrcCount, mChar, kCharMax);
  mnSrcCount = 0;
  CSaveData* save = gpMainWindow ? gpMainWindow->mpSaveData : nullptr;
  mbMesRead = mesNo >= 0 && save && save->CheckKidokuFlag(mesNo);
  mnAutoTime = CalcAutoTime(mnPC);
  mnMode = 0;
  mnPutTime = mnPutTarget = mnPutCount = 0;
  mnPageState = mnPageTime = mnPageScroll = 0;
  UpdateEnableBLUpDownBtn();
  UpdataNameVB();
  return true;
}

void CDIBMesWnd::Move() {
  Trace("CDIBMesWnd::Move");
  CMainWindow* app = gpMainWindow;
  CInput* input = app ? app->mpInput : nullptr;
  if (!input || !mChar) return;
  const bool wasShown = mbShow;

  // 1. The cancel key: the first case that applies.
  bool consumed = false;
  if (input->CheckKeyTbl(KeyTblCancel)) {
    if (!mbShow) {
      mbShow = true;
      consumed = true;
    } else if (mbBLMode) {
      LeaveBackLog();
    } else if (mbSkip) {
      SetMesSkip(false);
    } else if (mbAuto) {
      SetMesAuto(false);
    } else if (mbOpen && !mbOpenCloseMove && !IsForcusInAll()) {
      mbShow = false;
      ResetForcusInAll();
    }
  } else if (!mbShow && input->CheckKeyTbl(KeyTblNext)) {
    // A click on the hidden window brings it back without reading on.
    mbShow = true;
    consumed = true;
  }

  // 2. Back from the save screen: a quick save may exist now.
  if (mbSaveReturn) {
    mbSaveReturn = false;
    UpdateEnableQLoadBtn();
  }

  // 3. The buttons.
  bool handled = false;
  if (mbShow && mbOpen && !mbOpenCloseMove) {
    if (mbCtrlActive) {
      for (int32_t id = 0; id < MESBTN_COUNT && !handled; ++id) {
        CDIBBaseCtrl* c = GetCtrl(id);
        if (!c || !c->IsDecide()) continue;
        handled = true;
        switch (id) {
          case MESBTN_VOICE: OnClickVOICEBTN(); break;
          case MESBTN_BLPREV: OnClickBLPREVBTN(); break;
          case MESBTN_BLNEXT: OnClickBLNEXTBTN(); break;
          case MESBTN_QSAVE: OnClickQSAVEBTN(); break;
          case MESBTN_QLOAD: OnClickQLOADBTN(); break;
          case MESBTN_SAVE: OnClickSAVEBTN(); break;
          case MESBTN_LOAD: OnClickLOADBTN(); break;
          case MESBTN_SKIP: OnClickSKIPBTN(); break;
          case MESBTN_AUTO: OnClickAUTOBTN(); break;
          case MESBTN_SYSTEM: OnClickSYSTEMBTN(); break;
          case MESBTN_TOTITLE: OnClickTOTITLEBTN(); break;
          case MESBTN_EXIT: OnClickEXITBTN(); break;
        }
      }
      for (int32_t id = 0; id < MESBTN_COUNT; ++id)
        if (CDIBBaseCtrl* c = GetCtrl(id)) c->Move();
    }
    if (mnMode == 1 && mnSelTime >= kSelAppearTime)
      for (int32_t i = 0; i < mnSelCount; ++i)
        if (CDIBBaseCtrl* c = GetCtrl(MESBTN_SEL + i)) c->Move();
    UpdateForcus();
  }

  // 4. The animation, or the text, the choice or the backlog.
  if (mbOpenCloseMove) {
    MoveOpenClose();
  } else if (mbShow && !handled && !consumed) {
    if (mbBLMode) {
      MoveBackLog();
    } else if (mbRun) {
      if (mnMode == 0)
        MoveText();
      else
        MoveSelect();
    }
    MoveWaitAnime();
  }

  // 5. What changed on screen this frame.
  CDIBDisplay* display = app->mpDisplay;
  if (display && (mbShow || wasShown)) {
    auto addQuad = [&](const SprtVertex& v) {
      plat::POINT pts[4];
      for (int k = 0; k < 4; ++k) pts[k] = plat::POINT{v.dst[k].x, v.dst[k].y};
      display->AddDirtyQuad(pts);
    };
    if (mbWndVertex) addQuad(mWndVertex);
    if (mbNameVertex) addQuad(mNameVertex);
    if (mbIconVertex) addQuad(mIconVertex);
    for (CDIBBaseCtrl* c = GetCtrlTop(); c; c = c->GetNext()) c->UpdateRGN(nullptr);
  }
}

void CDIBMesWnd::Draw(CDIBImage* target) {
  Trace("CDIBMesWnd::Draw");
  Blt(target);
}

void CDIBMesWnd::Blt(CDIBImage* target) {
  Trace("CDIBMesWnd::Blt");
  if (!target || !mbShow || !mbComposed || !mpWndImage) return;
  // A closed window is not drawn at all.
  if (!mbOpen && !mbOpenCloseMove) return;
  if (mbWndVertex) mpWndImage->StretchBltBlend(target, mWndVertex, false);
  if (mbNameVertex && mpNameParts) mpNameParts->StretchBltBlend(target, mNameVertex, false);
  if (mbWait && mbIconVertex && mpWndParts) mpWndParts->StretchBltBlend(target, mIconVertex, false);
  for (CDIBBaseCtrl* c = GetCtrlTop(); c; c = c->GetNext()) c->Draw(target, true);
}
