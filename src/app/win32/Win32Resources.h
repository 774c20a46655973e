// Resource ids of the Windows build, shared by the resource script and the shell.
#pragma once

#define kIdProgramIcon 128
#define kIdTitle 128
#define kIdMainMenu 128
#define kIdToolbarBitmap 129
#define kIdAboutDialog 130
#define kIdValidationDialog 132

// Controls of the Validation dialog's template.
#define kIdLanguage 1016
#define kIdIdeaTitle 1035
#define kIdParagraph1 1009
#define kIdParagraph2 1010
#define kIdDataTitle 1036
#define kIdHdVol 1018
#define kIdHdVolHex 1034
#define kIdCheckTitle 1037
#define kIdInstruction 1015
#define kIdCheckHdVol 1005
#define kIdCheckRecord 1003
#define kIdCheckValidator 1004
#define kIdVerify 1007
#define kIdAnswer 1006

#ifdef __cplusplus
constexpr int kIdRecord[3] = {1024, 1001, 1008};
constexpr int kIdValidator[3] = {1002, 1012, 1013};
#endif
