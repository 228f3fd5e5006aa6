/* Resource ids shared by the resource script and the code; plain #defines so that the resource
   compiler reads them too. The dialog templates are named, not numbered: "IDD_CURVEPROP" and
   "ABOUTBOX" must stay undefined here so that the script keeps them as names. */
#pragma once

#define IDI_TRAZOS 101

/* Main window menu commands. IDM_CLOSE has no menu item but the window still accepts it. */
#define IDM_CLOSE 40008
#define IDM_CONTROLS 40011
#define IDM_ABOUT 40012

/* The controls panel's buttons, top to bottom. */
#define IDC_TRAIL_ON 1033
#define IDC_TRAIL_OFF 1034
#define IDC_STRAIGHT_LAYOUT 1035
#define IDC_WAVY_LAYOUT 1036
#define IDC_POINTS_PLUS 1037
#define IDC_POINTS_MINUS 1038
#define IDC_BACKGROUND 1039
#define IDC_CURVE_WIDTH 1040

/* The About box shows icon 101 in a static control of the same id. */
#define IDC_ABOUT_ICON 101
