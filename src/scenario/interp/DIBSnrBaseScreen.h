// The scenario interpreter: a screen that runs a compiled scenario. Each
// frame it executes commands one after another until one waits or asks to
// stop for this frame, then lets its virtual screen (layers, cameras,
// actions, transitions) advance. Commands are dispatched by identifier to
// virtual handlers, in the order of the command table, so that the game's
// scenario screen replaces the game-level ones (messages, choices, save
// points, movies, the end of a story). This class implements control flow,
// variables, waits, the picture, sound and flag commands, and gives every
// game-level command a default that steps over it.
#pragma once
#include <cstdint>

#include "app/flow/ScreenBlocks.h"
#include "ui/DIBBaseScreen.h"

class CDIBSnrLayer;
class CDIBSnrVVram;
class CSnrBuffer;
class CSnrParams;
struct EffectParam;

// The input latches of ATIMES/AWAIT, in the order AWAIT stores them.
enum : int { LATCH_LBUTTON = 0, LATCH_RBUTTON, LATCH_RETURN, LATCH_ESCAPE, LATCH_SPACE, LATCH_COUNT };

class CDIBSnrBaseScreen : public CDIBBaseScreen {
 public:
  // mWaitTime of a wait without a time limit.
  static constexpr uint32_t kWaitForever = 0xFFFFFFFFu;
  // A frame's run of commands yields after this much time on the run's
  // clock (never under a fixed step, whose clock stands still in a frame)…
  static constexpr uint32_t kRunBudgetMs = 30;
  // …and after this many commands, so that a scenario looping without a
  // wait cannot hold the program.
  static constexpr int kRunCommandLimit = 100000;

  explicit CDIBSnrBaseScreen(CBaseGame* parent);
  ~CDIBSnrBaseScreen() override;

  // Starts with the 328-byte start block (null: all zero). The derived
  // screen then reads the first scenario.
  virtual bool Initialize(const SnrStartBlock* callParam);
  bool Initialize() override;
  // Reads the first scenario of a story and starts at its first command;
  // records it in the save data and tells the debugger. A file that cannot
  // be read shows the read error box and gives false.
  bool ReadScenario(const char* name);
  void Release() override;
  void Move() override;
  void Update() override;
  void Draw(CDIBImage* target) override;
  void CopyImage(CDIBImage* target) override;

  // Slot order from here on is the interpreter's own.
  // Saved-game state: the base keeps nothing and succeeds; the scenario
  // screen writes its record at a save point and restores it.
  virtual bool Save(int32_t loadPoint);
  virtual bool Load(const uint8_t* src, uint32_t size);
  // Error boxes. Texts and names are in the build's encoding. All but
  // ErrorMsg and ErrorRead without `end` end the game.
  virtual void ErrorMsg(const char* title, const char* text, bool end);
  virtual void ErrorNumParam(const char* command, int count);
  virtual void ErrorTypeParam(const char* command, int param);
  virtual void ErrorParam(const char* command, int param);
  virtual void ErrorRead(const char* command, const char* file, bool end);
  virtual void MoveCmdUnknow();

  virtual void MoveCmdEND();
  virtual void MoveCmdLPT();
  virtual void MoveCmdLS();
  virtual void MoveCmdJP();
  virtual void MoveCmdONJP();
  virtual void MoveCmdMOV();
  virtual void MoveCmdIF();
  virtual void MoveCmdATIMES();
  virtual void MoveCmdAWAIT();
  virtual void MoveCmdRANDOM();
  virtual void MoveCmdCMPSTR();
  virtual void MoveCmdIMREAD();
  virtual void MoveCmdIMFREE();
  virtual void MoveCmdLYIMAGE();
  virtual void MoveCmdLYPOS();
  virtual void MoveCmdLYSIZE();
  virtual void MoveCmdLYCOLOR();
  virtual void MoveCmdLYBLEND();
  virtual void MoveCmdLYANTI();
  virtual void MoveCmdLYACTION();
  virtual void MoveCmdLYCAMSTATE();
  virtual void MoveCmdOVERLAP();
  virtual void MoveCmdCAMMOVE();
  virtual void MoveCmdCURSOR();
  virtual void MoveCmdMOVIE();
  virtual void MoveCmdBGMLIST();
  virtual void MoveCmdBGMPLAY();
  virtual void MoveCmdBGMSTOP();
  virtual void MoveCmdBGMWAIT();
  virtual void MoveCmdVOICELIST();
  virtual void MoveCmdVOICEPLAY();
  virtual void MoveCmdVOICESTOP();
  virtual void MoveCmdVOICEWAIT();
  virtual void MoveCmdSEPLAY();
  virtual void MoveCmdSESTOP();
  virtual void MoveCmdSEWAIT();
  virtual void MoveCmdSEREAD();
  virtual void MoveCmdSEFREE();
  virtual void MoveCmdMSG();
  virtual void MoveCmdMWO();
  virtual void MoveCmdMWC();
  virtual void MoveCmdSELECT();
  virtual void MoveCmdCHKSCEXEC();
  virtual void MoveCmdSUBTITLE();
  virtual void MoveCmdSETCGFLAG();
  virtual void MoveCmdSETSCENEFLAG();
  virtual void MoveCmdSETMESSKIP();
  virtual void MoveCmdSELITEM();
  virtual void MoveCmdMESFTSIZE();
  virtual void MoveCmdMESFTCOLOR();
  virtual void MoveCmdMESFTBLOD();
  virtual void MoveCmdMESFTSHADOW();
  virtual void MoveCmdMESTXAREA();
  virtual void MoveCmdMESTXKINSOKU();
  virtual void MoveCmdMESTXDOWN();
  virtual void MoveCmdMESNAME();
  virtual void MoveCmdMESVPLAY();
  virtual void MoveCmdMESVSTOP();
  virtual void MoveCmdMESRUN();
  virtual void MoveCmdBLOGSAVEBEGIN();
  virtual void MoveCmdBLOGSAVEEND();
  virtual void MoveCmdSELMAKE();
  virtual void MoveCmdSELRUN();
  virtual void MoveCmdACTMAKE();
  virtual void MoveCmdACTFREE();
  virtual void MoveCmdACTPLAY();
  virtual void MoveCmdACTSTOP();
  virtual void MoveCmdSCREENACT();
  virtual void MoveCmdSAVESAM();
  virtual void MoveCmdFACE();

  // What the scenario screen, tools and tests look at.
  CDIBSnrVVram* GetVVram() const { return mpVVram; }
  CSnrBuffer* GetBuffer() const { return mpBuffer; }
  const SnrStartBlock& GetCallParam() const { return mCallParam; }
  int32_t GetStep() const { return mnExitParam; }
  uint32_t GetWaitTime() const { return mWaitTime; }
  uint32_t GetWaitCount() const { return mWaitCount; }
  // A command error has ended the game: no command runs any more.
  bool IsErrorEnd() const { return mbErrorEnd; }
  // Commands dispatched since Initialize.
  uint64_t GetCommandCount() const { return mnCommandCount; }

 protected:
  // One frame's run of commands.
  void RunCommands(uint32_t startTime);
  // Calls the handler of the current command.
  void Dispatch();
  void LatchInput();

  // The handler pattern. Each check shows its error box and returns false.
  bool CheckCount(const char* command, const CSnrParams& params, int least, int most);
  // One letter per parameter: 'i' not a string, 's' a string, '*' either;
  // the last letter stands for every parameter after it.
  bool CheckKinds(const char* command, const CSnrParams& params, const char* kinds);
  // A value that must lie in lo..hi (a variable, slot or layer number);
  // otherwise ErrorParam names parameter `param` (1-based).
  bool CheckRange(const char* command, int param, int32_t value, int32_t lo, int32_t hi);
  // Jumps to a label; a label the file lacks is a parameter error.
  bool JumpLabel(const char* command, int param, int32_t label);
  // The command completed: stage 0, next command.
  void StepOn();
  // Stores a scenario variable and reports it to the debugger.
  void SetVariable(int32_t index, int32_t value);
  // The player hurries sound waits: Return or the left button pushed this
  // frame, Control held, skipping, or effects switched off.
  bool IsHurry() const;
  // Ends the game after an error: the window closes without the question.
  void EndGameByError();
  // Skipped game-level command: stage 0, next command; `keepRunning` for MOVIE.
  void SkipCommand(bool keepRunning);

  // A back-page layer by its number (0 … 15); out of range is ErrorParam
  // naming parameter 1, and null.
  CDIBSnrLayer* BackLayer(const char* command, int32_t index);
  // ACTPLAY and ACTSTOP: each listed action that is set up.
  void PlayActions(const char* command, bool play);
  // The transition record of OVERLAP from its parameters; a count or kind
  // error shows its box and gives false.
  bool ReadOVParam(EffectParam* param, const CSnrParams& params, int count);

  SnrStartBlock mCallParam = {};
  CDIBSnrVVram* mpVVram = nullptr;
  CSnrBuffer* mpBuffer = nullptr;
  bool mbContinue = false;
  bool mbSkip = false;
  uint32_t mWaitTime = 0;
  uint32_t mWaitCount = 0;
  bool mbInputLatch[LATCH_COUNT] = {};

  // The channel a one-shot SEPLAY with wait waits for.
  int32_t mnSEWaitHandle = 0;
  bool mbErrorEnd = false;
  uint64_t mnCommandCount = 0;
  // The commands a frame's run may take (tools and fuzzing lower it).
  int mnRunCommandLimit = kRunCommandLimit;
};
