; setup.exe /UNINSTALL, for the administrator who needs the uninstall's exit
; code: Uninstall.exe on its own hands over to a copy of itself in the
; temporary folder and returns at once.
;
;   !insertmacro UninstallOnRequest   in .onInit, after LogInit and
;       RequireAdmin: with /UNINSTALL on the command line the run removes the
;       installation (with /S silently, logging to the same log) and quits
;       with the uninstaller's exit code
;
; Needs PRODUCT_NAME and UNINSTALL_KEY defined, InstallLog.nsh, ExitCodes.nsh,
; InstalledFiles.nsh and UninstallEntry.nsh. UNINSTALL_PASSED_OPTION, when
; defined, is an option of the setup's command line that goes on to the
; uninstaller (Vantrel Support's /PURGE).
!ifndef UNINSTALLINPLACE_NSH
!define UNINSTALLINPLACE_NSH

!include FileFunc.nsh
!include LogicLib.nsh

; setup.exe /UNINSTALL: runs the installed uninstaller in its folder and
; waits for it, so that the exit code is the uninstaller's (Uninstall.exe
; on its own hands over to a copy of itself and returns at once), then
; removes the uninstaller, which cannot remove itself while it runs.
Function RunInstalledUninstaller
  !insertmacro ReadInstallLocation "${UNINSTALL_KEY}" $1
  ${If} $1 == ""
    !insertmacro QuitRun ${EXIT_OK} "${PRODUCT_NAME} is not installed: nothing to remove."
  ${EndIf}
  ${IfNot} ${FileExists} "$1\Uninstall.exe"
    !insertmacro QuitRun ${EXIT_FAILED} "FAILED: $1\Uninstall.exe is missing; the installation cannot be removed."
  ${EndIf}
  StrCpy $2 ""
  ${If} ${Silent}
    StrCpy $2 "/S "
  ${EndIf}
  !ifdef UNINSTALL_PASSED_OPTION
  ClearErrors
  ${GetOptions} "$CommandLine" "${UNINSTALL_PASSED_OPTION}" $0
  ${IfNot} ${Errors}
    StrCpy $2 "$2${UNINSTALL_PASSED_OPTION} "
  ${EndIf}
  !endif
  ${Log} "Removing the installation in $1 with its uninstaller"
  ClearErrors
  ExecWait `"$1\Uninstall.exe" $2/LOG="$LogFile" _?=$1` $0
  ${If} ${Errors}
    !insertmacro QuitRun ${EXIT_FAILED} "FAILED: could not run $1\Uninstall.exe."
  ${EndIf}
  ${If} $0 == ${EXIT_OK}
  ${OrIf} $0 == ${EXIT_RESTART_NEEDED}
    ${If} $0 == ${EXIT_RESTART_NEEDED}
      SetRebootFlag true
    ${EndIf}
    !insertmacro RemoveFile "$1\Uninstall.exe"
    !insertmacro RemoveFolder "$1"
  ${EndIf}
  !insertmacro QuitRun $0 "The uninstaller ended with exit code $0."
FunctionEnd

!macro UninstallOnRequest
  ClearErrors
  ${GetOptions} "$CommandLine" "/UNINSTALL" $0
  ${IfNot} ${Errors}
    Call RunInstalledUninstaller
  ${EndIf}
!macroend

!endif
