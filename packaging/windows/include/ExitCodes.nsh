; Exit codes of the setup and uninstall programs, for deployment tools that
; judge a silent run by its code alone, and the ways a run ends.
;
;   ${Fail} "text"       logs the reason, shows it (not when silent), ends
;                        the run with EXIT_FAILED (.onInstFailed and
;                        un.onUninstFailed log the code: !insertmacro FailedRun)
;   !insertmacro EndRun  in .onInstSuccess / un.onUninstSuccess: 0, or 3010
;                        when a file in use is replaced or removed at the
;                        next restart
;   !insertmacro RequireAdmin  in .onInit / un.onInit
;
; Needs InstallLog.nsh.
!ifndef EXITCODES_NSH
!define EXITCODES_NSH

!include LogicLib.nsh

!define EXIT_OK 0
!define EXIT_CANCELLED 1        ; the user cancelled (NSIS's own code)
!define EXIT_FAILED 2           ; nothing or not everything was done (NSIS's own code)
!define EXIT_NOT_ADMIN 740      ; ERROR_ELEVATION_REQUIRED
!define EXIT_RESTART_NEEDED 3010 ; ERROR_SUCCESS_REBOOT_REQUIRED, as Windows Installer uses it

!macro FailRun text
  ${Log} `FAILED: ${text}`
  MessageBox MB_OK|MB_ICONSTOP `${text}` /SD IDOK
  SetErrorLevel ${EXIT_FAILED}
  Abort
!macroend
!define Fail "!insertmacro FailRun"

; Quits from an .onInit function (Abort there would only skip a page).
!macro QuitRun code text
  ${Log} "${text}"
  SetErrorLevel ${code}
  ${Log} "Exit code ${code}"
  Quit
!macroend

!macro EndRun
  ${If} ${RebootFlag}
    ${Log} "Done. Restart Windows to finish: a file in use is replaced or removed then."
    SetErrorLevel ${EXIT_RESTART_NEEDED}
    ${Log} "Exit code ${EXIT_RESTART_NEEDED}"
  ${Else}
    ${Log} "Done."
    SetErrorLevel ${EXIT_OK}
    ${Log} "Exit code ${EXIT_OK}"
  ${EndIf}
!macroend

!macro FailedRun
  SetErrorLevel ${EXIT_FAILED}
  ${Log} "Exit code ${EXIT_FAILED}"
!macroend

!macro RequireAdmin
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "$EXEFILE needs administrator rights: it changes the whole machine." /SD IDOK
    !insertmacro QuitRun ${EXIT_NOT_ADMIN} "FAILED: not run as an administrator (account type '$0')"
  ${EndIf}
!macroend

!endif
