; Calvex V HXR for 64-bit Windows: the desktop program with its Qt runtime,
; calvex.exe, the user guide and the samples, for all users of the computer.
;
; Built by packaging/windows/calvexvhxr/CMakeLists.txt:
;   makensis -DVERSION=x.y.z -DOUTFILE=... -DSTAGE=<installed tree>
;            -DLISTS=<the file lists Stage.cmake made of it> -DICON=<.ico>
;
; Sets "ProductDir", through which the program finds its settings; makes
; lib\ writable for users, so the settings file there is kept whoever runs
; the program; adds a Start menu entry and the entry under installed
; programs. The uninstaller removes what was installed, the settings file
; and the registry keys, and nothing a user made: a codeplug saved below the
; folder stays (and with it the folder), backups live in each user's own
; folder.
;
; Command line:
;   setup.exe [/S] [/LOG=file] [/D=folder]     install (/D= last, no quotes)
;   setup.exe [/S] [/LOG=file] /UNINSTALL      remove, waiting for the end
;   Uninstall.exe [/S] [/LOG=file]             remove (what the Apps list runs)
Unicode true
Target amd64-unicode
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma

!define PRODUCT_NAME "Calvex V HXR"
!define PUBLISHER "Corvane"
!define UNINSTALL_KEY "CalvexVHXR"
!define PRODUCT_KEY "SOFTWARE\Corvane\Calvex V HXR"
!define COMPANY_KEY "SOFTWARE\Corvane"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT_NAME}.lnk"
!define SETUP_LOG "CalvexVHXR-setup.log"
!define UNINSTALL_LOG "CalvexVHXR-uninstall.log"

!addincludedir "${__FILEDIR__}\..\include"
; The shared includes define each function for the setup and the uninstall
; part; a part that does not call one gets it dropped, which is no fault.
!pragma warning disable 6010
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include InstallLog.nsh
!include ExitCodes.nsh
!include InstalledFiles.nsh
!include UninstallEntry.nsh
!include UninstallInPlace.nsh

Name "${PRODUCT_NAME} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Corvane\${PRODUCT_NAME}"
; An installation already made is updated where it is.
InstallDirRegKey HKLM "${UNINSTALL_ROOT}\${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PUBLISHER} ${PRODUCT_NAME} ${VERSION}"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey ProductName "${PRODUCT_NAME}"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey FileDescription "${PRODUCT_NAME} ${VERSION} setup"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey LegalCopyright "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_CUSTOMFUNCTION_ABORT OnCancel
!define MUI_UNABORTWARNING
!define MUI_CUSTOMFUNCTION_UNABORT un.OnCancel
!define MUI_WELCOMEPAGE_TEXT "This installs the Calvex V Two Tone Pager Programming Software for all users of this computer: the program, its command line companion calvex.exe, the user guide and sample codeplugs.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "${PRODUCT_NAME} ${VERSION} is installed in $INSTDIR.$\r$\n$\r$\nStart it from the Start menu. Connect the programmer, then choose its port in Tools > System Setup."
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; ---------------------------------------------------------------- install

Function .onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro LogInit "${SETUP_LOG}"
  !insertmacro RequireAdmin
  !insertmacro UninstallOnRequest
FunctionEnd

Section "${PRODUCT_NAME}"
  SectionIn RO
  ${Log} "Installing into $INSTDIR"
  ; A file of a running copy is replaced at the next restart.
  !include "${LISTS}\install-files.nsh"
  ClearErrors
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ${If} ${Errors}
    ${Fail} "Could not write $INSTDIR\Uninstall.exe."
  ${EndIf}

  ; The settings file's folder, changed by every user who runs the program:
  ; Users (BU, whatever the system's language) may modify it and what is
  ; made in it; the rights inherited from the installation folder stay.
  CreateDirectory "$INSTDIR\lib"
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptorW(w "D:(A;OICI;0x1301bf;;;BU)", i 1, *p .r1, p 0) i .r0'
  ${If} $0 = 0
    ${Log} "lib could not be made writable for users"
  ${Else}
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .r2, *p .r3, *i .r4) i .r0'
    ; DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION
    System::Call 'advapi32::SetNamedSecurityInfoW(w "$INSTDIR\lib", i 1, i 0x20000004, p 0, p 0, p r3, p 0) i .r0'
    System::Call 'kernel32::LocalFree(p r1)'
    ${If} $0 <> 0
      ${Log} "lib could not be made writable for users (error $0)"
    ${Else}
      ${Log} "Users may change $INSTDIR\lib"
    ${EndIf}
  ${EndIf}

  ; The program's final backslash joins it to lib\CalvexV.ini.
  ClearErrors
  WriteRegStr HKLM "${PRODUCT_KEY}" "ProductDir" "$INSTDIR\"
  ${If} ${Errors}
    ${Fail} "Could not write HKLM\${PRODUCT_KEY}."
  ${EndIf}
  ${Log} "ProductDir: $INSTDIR\"

  CreateShortCut "${SHORTCUT}" "$INSTDIR\CalvexVHXR.exe" "" "$INSTDIR\CalvexVHXR.exe" 0 \
    SW_SHOWNORMAL "" "Read, edit and write Calvex V pager codeplugs"
  ${Log} "Start menu: ${SHORTCUT}"
  !insertmacro WriteUninstallEntry "${UNINSTALL_KEY}" "${PRODUCT_NAME}" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\CalvexVHXR.exe,0"
SectionEnd

Function .onInstSuccess
  !insertmacro EndRun
FunctionEnd

Function .onInstFailed
  !insertmacro FailedRun
FunctionEnd

Function OnCancel
  ${Log} "Cancelled."
  SetErrorLevel ${EXIT_CANCELLED}
  ${Log} "Exit code ${EXIT_CANCELLED}"
FunctionEnd

; -------------------------------------------------------------- uninstall

Section "Uninstall"
  ${Log} "Removing the installation in $INSTDIR"
  Delete "${SHORTCUT}"
  !include "${LISTS}\uninstall-files.nsh"
  ; The program's settings; lib\ itself only when nothing of a user's is left.
  !insertmacro RemoveFile "$INSTDIR\lib\CalvexV.ini"
  !insertmacro RemoveFolder "$INSTDIR\lib"
  ; Started in its own folder (_?=), the uninstaller runs from Uninstall.exe
  ; itself, which its starter removes.
  GetFullPathName $0 "$EXEDIR"
  GetFullPathName $1 "$INSTDIR"
  ${If} $0 != $1
    Call un.RemoveUninstaller
    !insertmacro RemoveFolder "$INSTDIR"
  ${EndIf}
  RMDir "$PROGRAMFILES64\Corvane"
  DeleteRegKey HKLM "${PRODUCT_KEY}"
  DeleteRegKey /ifempty HKLM "${COMPANY_KEY}"
  ${Log} "Removed HKLM\${PRODUCT_KEY}"
  !insertmacro DeleteUninstallEntry "${UNINSTALL_KEY}"
SectionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
  !insertmacro LogInit "${UNINSTALL_LOG}"
  !insertmacro RequireAdmin
FunctionEnd

Function un.onUninstSuccess
  !insertmacro EndRun
FunctionEnd

Function un.onUninstFailed
  !insertmacro FailedRun
FunctionEnd

Function un.OnCancel
  ${Log} "Cancelled."
  SetErrorLevel ${EXIT_CANCELLED}
  ${Log} "Exit code ${EXIT_CANCELLED}"
FunctionEnd
