/* Resource ids shared by the resource script and the code; plain #defines so that the resource
   compiler reads them too. */
#pragma once

#define IDI_TRAZOS 101

/* Main window menu commands. IDM_CLOSE has no menu item but the window still accepts it. */
#define IDM_CLOSE 40008
#define IDM_CONTROLS 40011
#define IDM_ABOUT 40012
