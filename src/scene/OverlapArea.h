// The effect area of a running transition: what an effect keeps besides the
// clock — its parameters, the pictures it read from the cache, the images
// and effect objects it made, and what its start or move step computed.
// The initialiser makes a fresh area; the release gives back the pictures
// and drops the whole area, so nothing of one effect reaches the next.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "assets/DIBImage.h"
#include "assets/SprtVertex.h"
#include "scene/DIBFilm.h"
#include "scene/DIBFire.h"
#include "scene/DIBWater.h"
#include "scene/MeshRaster.h"

class CDIBSprite;

// One piece of the Glass effect: its rectangle on the old picture, where it
// flies and how fast it turns, and its quad this frame.
struct GlassPiece {
  float fLeft, fTop, fRight, fBottom;
  float fDir[3];
  float fRate[3];
  SprtVertex vertex;
};

struct OverlapArea {
  int32_t nMode = 0;  // the effect's mode or direction
  // Pictures read through the cache (mask, flare, frame; scratch), given
  // back at release.
  CDIBSprite* pPicture[2] = {};
  // A picture the effect needs could not be read: it shows the new picture
  // until it ends.
  bool bMissing = false;
  // Images the effect made (Alpha's intermediate picture, Blur's two work
  // images).
  std::unique_ptr<CDIBImage> pWork[2];
  int32_t nCurrent = 0;  // Blur: the work image shown

  // Alpha: the mask's value for every pixel of the screen, and softness.
  std::vector<uint8_t> mask;
  int32_t nMaskWidth = 0, nMaskHeight = 0;
  int32_t nSoftness = 0;

  // Rotate: the angles of the four screen corners seen from the centre.
  double fCorner[4] = {};

  // LensFlare: when the flare starts and ends.
  int32_t nFlareStart = 0, nFlareEnd = 0;

  // Bound.
  int32_t nBounce = 0, nVectorX = 0, nVectorY = 0;

  // Glass.
  std::vector<GlassPiece> pieces;

  // Twist: draws the mesh of the old picture.
  CMeshRaster raster;

  // Fire, Water, Film.
  std::unique_ptr<CDIBFire> pFire;
  std::unique_ptr<CDIBWater> pWater;
  std::unique_ptr<CDIBFilm> pFilm;
  int32_t nPhase[3] = {};
  uint32_t nFilmAlpha = 255;

  // The new picture as a whole-screen quad over the effect (Fire, Water,
  // Blur), once the effect has reached the point where it shows.
  bool bNewQuad = false;
  SprtVertex newQuad;

  // RotDoor: the picture shown this frame and its quad.
  CDIBImage* pDoorImage = nullptr;
  SprtVertex door;
};
