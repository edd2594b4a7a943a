; Installer of the Calvex V HXR pager programming software for Windows.
; makensis -DVERSION=1.7.2 -DSTAGE=<installed tree> -DLISTS=<folder of the
; file lists Stage.cmake made of it> -DICON=<.ico> -DOUTFILE=<setup.exe>
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
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) Corvane"

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

Section "Program"
  SetShellVarContext all
  !include "${LISTS}\install-files.nsh"

  ; The settings file's folder: changed by every user who runs the program.
  ; Users (BU, whatever the system's language) may modify it and what is
  ; made in it; the rights inherited from the installation folder stay.
  CreateDirectory "$INSTDIR\lib"
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:(A;OICI;0x1301bf;;;BU)", i 1, *p .r1, p 0) i .r0'
  ${If} $0 = 0
    DetailPrint "lib could not be made writable for users"
  ${Else}
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .r2, *p .r3, *i .r4) i .r0'
    ; DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION
    System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR\lib", i 1, i 0x20000004, p 0, p 0, p r3, p 0) i .r0'
    System::Call 'kernel32::LocalFree(p r1)'
    ${If} $0 <> 0
      DetailPrint "lib could not be made writable for users (error $0)"
    ${EndIf}
  ${EndIf}

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
