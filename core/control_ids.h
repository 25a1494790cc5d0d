/* Control and resource identifiers of the Notchwell dialog.
 *
 * Plain preprocessor constants so that the C++ code and the resource
 * script read the very same definitions, without any Windows header.
 * IDOK and IDCANCEL are the platform's own values; winuser.h defines them
 * identically, so either header may come first. */
#ifndef NOTCHWELL_CONTROL_IDS_H
#define NOTCHWELL_CONTROL_IDS_H

#ifndef IDOK
#define IDOK 1
#endif
#ifndef IDCANCEL
#define IDCANCEL 2
#endif

#define IDC_STATIC (-1)

#define IDC_RESISTANCE 1000
#define IDC_CAPACITANCE 1001
#define IDC_FREQUENCY 1004
#define IDC_SOLVE_R 1005
#define IDC_SOLVE_C 1006
#define IDC_SOLVE_FO 1007
#define IDC_SCHEMATIC 1008
#define IDC_RESISTANCE_UNITS 1009
#define IDC_CAPACITANCE_UNITS 1010
#define IDC_FREQUENCY_UNITS 1011

#define IDB_SCHEMATIC 103

#endif
