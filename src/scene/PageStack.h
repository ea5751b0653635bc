// Runs of rectangle layers drawn onto a page a band of rows at a time
// through the layer stack kernels.
#pragma once
#include "scene/DIBSnrLayer.h"
#include "scene/LayerStack.h"

class CDIBImage;

namespace scene {

// The layers' rectangle operations, in order, within rows y0 … y0 + rows − 1
// of the page: the same pixels as the image's Copy, BltBlend and BltFast of
// each layer one after the other, clipped the same way. With `clear` the
// rows are first filled with 0 within the page's clip, in the same pass.
void DrawBlitBand(CDIBImage* page, const LayerBlit* blits, int count, int y0, int rows, bool clear,
                  const StackKernels& kernels = Stack());

}  // namespace scene
