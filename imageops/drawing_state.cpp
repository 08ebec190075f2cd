#include "imageops/drawing_state.h"

uint32_t DrawingColor = 0xFFFFFF;
uint32_t tav_tc = 0x000000;
uint32_t tav_tttc = 0xFFFFFF;
TavTextCursor TextCursor = {0, 0, 0};
TavPoint PenPosition = {0, 0};
