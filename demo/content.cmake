# What the demo game is made of: one line per file of the game folder.

# --- Pictures (MGD) --------------------------------------------------------
# Title screen.
demo_picture(TITLE01 title01.pic)
demo_picture(TITLE02 title02.pic)
demo_picture(TITLE title_bg.pic)
demo_picture(TITLE_P title_p.pic)
# Message window and name plates.
demo_picture(GAME_P game_p.pic)
demo_picture(NAME_P name_p.pic)
# Save/load, options, confirmation.
demo_picture(SAVE_B sl_b.pic VARS mode=save)
demo_picture(LOAD_B sl_b.pic VARS mode=load)
demo_picture(SL_P sl_p.pic)
demo_picture(OPTION_B option_b.pic)
demo_picture(OPTION_P option_p.pic)
foreach(m 0 1 2 3 4)
  math(EXPR n "${m} + 1")
  demo_picture(CONF0${n}_B conf_b.pic VARS msg=${m})
endforeach()
demo_picture(CONF_P conf_p.pic)
# Choices.
demo_picture(SEL_P sel_p.pic VARS which=route)
demo_picture(SELW_P sel_p.pic VARS which=window)
# Transitions and layer actions.
foreach(kind h r star swirl)
  string(TOUPPER ${kind} upper)
  demo_picture(MASK_${upper} masks.pic VARS kind=${kind})
endforeach()
foreach(kind flare film scratch rain beam lens gull bonfire firework black white)
  string(TOUPPER ${kind} upper)
  demo_picture(${upper} effects.pic VARS kind=${kind})
endforeach()
# Backgrounds.
demo_picture(BG_STATION bg_station.pic)
demo_picture(BG_SLOPE bg_slope.pic)
demo_picture(BG_SEA bg_sea.pic)
demo_picture(BG_LIGHT bg_light.pic VARS time=day)
demo_picture(BG_LIGHT_E bg_light.pic VARS time=eve)
demo_picture(BG_LIGHT_N bg_light.pic VARS time=night)
demo_picture(BG_CINEMA bg_cinema.pic VARS rain=0)
demo_picture(BG_CINEMA_R bg_cinema.pic VARS rain=1)
demo_picture(BG_LOBBY bg_lobby.pic)
demo_picture(BG_LAMP bg_lamp.pic)
demo_picture(BG_GALLERY bg_gallery.pic)
demo_picture(BG_PROJ bg_proj.pic)
demo_picture(BG_FEST bg_fest.pic)
# Characters: TOKO_n, SHIZU_n, GEN_n by expression; _Y in festival dress.
set(i 1)
foreach(expr neutral smile laugh sad surprised shy)
  demo_picture(TOKO_${i} chara.pic VARS who=toko expr=${expr} yukata=0)
  math(EXPR i "${i} + 1")
endforeach()
set(i 1)
foreach(expr neutral smile sad surprised closed)
  demo_picture(SHIZU_${i} chara.pic VARS who=shizu expr=${expr} yukata=0)
  math(EXPR i "${i} + 1")
endforeach()
set(i 1)
foreach(expr neutral laugh closed)
  demo_picture(GEN_${i} chara.pic VARS who=gen expr=${expr} yukata=0)
  math(EXPR i "${i} + 1")
endforeach()
demo_picture(TOKO_Y1 chara.pic VARS who=toko expr=smile yukata=1)
demo_picture(TOKO_Y2 chara.pic VARS who=toko expr=laugh yukata=1)
demo_picture(SHIZU_Y1 chara.pic VARS who=shizu expr=smile yukata=1)
demo_picture(SHIZU_Y2 chara.pic VARS who=shizu expr=shy yukata=1)
# Event pictures of the gallery (and their variants).
demo_picture(CG_T01A cg.pic VARS which=T01A AFTER BG_GALLERY)
demo_picture(CG_T01B cg.pic VARS which=T01B AFTER BG_GALLERY)
demo_picture(CG_T02 cg.pic VARS which=T02 AFTER BG_LAMP LENS)
demo_picture(CG_S01A cg.pic VARS which=S01A AFTER BG_PROJ)
demo_picture(CG_S01B cg.pic VARS which=S01B AFTER BG_PROJ)
demo_picture(CG_S02 cg.pic VARS which=S02 AFTER BG_LOBBY)
demo_picture(CG_ENDA cg.pic VARS which=ENDA AFTER BG_FEST FIREWORK)
demo_picture(CG_ENDB cg.pic VARS which=ENDB AFTER BG_FEST)
demo_picture(CG_FEST cg.pic VARS which=FEST AFTER BG_FEST)
# The extras screen: backgrounds, parts, music plates, and the thumbnails
# of each character's page (two entries each).
demo_picture(CG_B omake_b.pic VARS mode=gallery)
demo_picture(SCENE_B omake_b.pic VARS mode=scenes)
demo_picture(OMAKE_P omake_p.pic)
demo_picture(MUSIC_P music_p.pic)
demo_picture(CGTHUMB0 thumbs.pic VARS p1=CG_T01A p2=CG_T02 count=2 AFTER CG_T01A CG_T02)
demo_picture(CGTHUMB1 thumbs.pic VARS p1=CG_S01A p2=CG_S02 count=2 AFTER CG_S01A CG_S02)
demo_picture(CGTHUMB2 thumbs.pic VARS p1=CG_FEST p2=CG_ENDA count=2 AFTER CG_FEST CG_ENDA)
demo_picture(SCTHUMB0 thumbs.pic VARS p1=BG_STATION p2=BG_GALLERY count=2 AFTER BG_STATION BG_GALLERY)
demo_picture(SCTHUMB1 thumbs.pic VARS p1=BG_CINEMA p2=BG_PROJ count=2 AFTER BG_CINEMA BG_PROJ)
demo_picture(SCTHUMB2 thumbs.pic VARS p1=CG_ENDB p2=CG_ENDB count=1 AFTER CG_ENDB)

# --- Hit maps (DATA) -------------------------------------------------------
demo_hitmap(TITLE_C title.pic)
demo_hitmap(GAME_C game.pic)
demo_hitmap(SL_C saveload.pic)
demo_hitmap(OPTION_C option.pic)
demo_hitmap(CONF_C conf.pic)
demo_hitmap(OMAKE_C omake.pic)
demo_hitmap(SEL_C select.pic VARS which=route)
demo_hitmap(SELW_C select.pic VARS which=window)

# Mouse cursors the story sets (the CURSOR command).
foreach(kind arrow wait)
  string(TOUPPER ${kind} upper)
  set(out ${DEMO_WORK}/DATA/CUR_${upper}.CUR)
  add_custom_command(OUTPUT ${out}
    COMMAND ${DEMO_TOOL} draw ${DEMO_SOURCE_OPTIONS} --var kind=${kind} ${DEMO_SRC}/pictures/cursor.pic ${out}
    DEPENDS velto-tool ${DEMO_SRC}/pictures/cursor.pic
    COMMENT "demo cursor CUR_${upper}" VERBATIM)
  demo_add_output(DATA ${out})
endforeach()

# --- Setup tables and scenarios (MSD) -------------------------------------
foreach(table TITLE CONF OPTION MESWND SAVELOAD OMAKE CGLIST SCENELIST)
  demo_scenario(${table} tables/${table}.txt)
endforeach()
demo_scenario(START story/START.txt)
demo_scenario(CGVIEW story/CGVIEW.txt)
foreach(scene S01 S02 R_TOKO R_SHIZU S_END)
  demo_scenario(${scene} story/${scene}.txt VOICES)
endforeach()

# --- Music (BGM) and effects (SE) -----------------------------------------
demo_sound(BGM M01 m01.score)
demo_sound(BGM M02 m02.score)
demo_sound(BGM M03 m03.score)
demo_sound(BGM M04 m04.score)
foreach(effect WAVE RAIN BUMP STEPS GULL DOOR CLAP HORN TOOLS PROJ BELL FIREWORK)
  string(TOLOWER ${effect} lower)
  demo_sound(SE SE_${effect} ${lower}.score)
endforeach()
demo_sound(SE TEST test.score)
foreach(kind decide cancel cursor)
  string(TOUPPER ${kind} upper)
  set(out ${DEMO_WORK}/SE/SYS_${upper}.OGG)
  add_custom_command(OUTPUT ${out}
    COMMAND ${DEMO_TOOL} music --var kind=${kind} ${DEMO_SRC}/sounds/system.score ${out}
    DEPENDS velto-tool ${DEMO_SRC}/sounds/system.score
    COMMENT "demo sound SYS_${upper}" VERBATIM)
  demo_add_output(SE ${out})
endforeach()

# --- Voices (VOICE): the story's are made with its scenes; the option
# screen's voice test is one more line.
set(out ${DEMO_WORK}/VOICE/TEST.OGG)
file(STRINGS ${DEMO_TEXT} test_line ENCODING UTF-8 REGEX "^voicetest = ")
string(REPLACE "voicetest = " "" test_line "${test_line}")
add_custom_command(OUTPUT ${out}
  COMMAND ${DEMO_TOOL} voice say --speaker girl --pitch 275 ${test_line} ${out}
  DEPENDS velto-tool ${DEMO_TEXT}
  COMMENT "demo voice TEST" VERBATIM)
demo_add_output(VOICE ${out})

# --- Movies (DATA) ---------------------------------------------------------
# The old film's scene is drawn once and shaken frame by frame.
set(reel_scene ${DEMO_WORK}/frames/REEL_SCENE.MGD)
add_custom_command(OUTPUT ${reel_scene}
  COMMAND ${DEMO_TOOL} draw ${DEMO_SOURCE_OPTIONS} ${DEMO_SRC}/movies/reel_scene.pic ${reel_scene}
  DEPENDS velto-tool ${DEMO_SRC}/movies/reel_scene.pic
  COMMENT "demo movie picture REEL_SCENE" VERBATIM)
demo_movie(OP op.pic 180 op.score AFTER ${DEMO_WORK}/MGD/BG_SEA.MGD ${DEMO_WORK}/MGD/BG_LIGHT_N.MGD
           ${DEMO_WORK}/MGD/TITLE.MGD ${DEMO_WORK}/MGD/TITLE_P.MGD)
demo_movie(REEL reel.pic 168 reel.score AFTER ${reel_scene})
