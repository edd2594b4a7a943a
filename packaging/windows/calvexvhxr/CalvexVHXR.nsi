; Installer of the Calvex V HXR pager programming software for Windows.
; makensis -DVERSION=1.7.2 -DSTAGE=<installed tree> -DLISTS=<folder of the
; file lists FileLists.cmake made of it> -DICON=<.ico> -DOUTFILE=<setup.exe>
;   CalvexVHXR.nsi
;
; Installs the program with its Qt runtime, calvex.exe, the user guide and
; the samples; sets "ProductDir", which the program finds its settings by;
; makes lib\ writable for users, so the settings file there can be kept by
; whoever runs the program; adds a Start menu entry and an entry in the
; installed programs list. The uninstaller removes exactly what was
; installed, the settings file and the registry keys, and nothing a user
; made (codeplugs saved below the folder stay, and with them the folder;
; backups live in each user's own folder).
; Silent: setup.exe /S [/D=C:\path] and Uninstall.exe /S.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinVer.nsh"
!include "x64.nsh"
!include "${LISTS}\size.nsh"

!define PRODUCT "Calvex V HXR"
!define PRODUCT_KEY "SOFTWARE\Corvane\Calvex V HXR"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\CalvexVHXR"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Corvane\${PRODUCT}"
; An installation already made is updated where it is.
InstallDirRegKey HKLM "${PRODUCT_KEY}" "ProductDir"
BrandingText "Corvane ${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "Corvane"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ; Qt 6 runs on 64-bit Windows 10 and later.
  ${IfNot} ${RunningX64}
  ${OrIfNot} ${AtLeastWin10}
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} needs 64-bit Windows 10 or later." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Program"
  SetShellVarContext all
  !include "${LISTS}\install-files.nsh"

  ; The settings file's folder: changed by every user who runs the program
  ; (BUILTIN\Users by its SID, whatever the system's language).
  CreateDirectory "$INSTDIR\lib"
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR\lib" /grant *S-1-5-32-545:(OI)(CI)M'
  Pop $0

  WriteRegStr HKLM "${PRODUCT_KEY}" "ProductDir" "$INSTDIR\"

  CreateShortCut "${SHORTCUT}" "$INSTDIR\CalvexVHXR.exe" "" "$INSTDIR\CalvexVHXR.exe" 0 \
    SW_SHOWNORMAL "" "Read, edit and write Calvex V pager codeplugs"

  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Corvane"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\CalvexVHXR.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "${SHORTCUT}"
  !include "${LISTS}\uninstall-files.nsh"
  ; The program's settings; lib\ itself only when nothing of a user's is left.
  Delete "$INSTDIR\lib\CalvexV.ini"
  RMDir "$INSTDIR\lib"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES64\Corvane"
  DeleteRegKey HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\Corvane"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
