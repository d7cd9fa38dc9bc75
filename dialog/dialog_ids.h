// Control ids of the decoder dialog (also read by the resource compiler).
#pragma once

#define IDC_CODE 101
#define IDC_DESCRIPTION 102
