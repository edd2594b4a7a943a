; The comma-list functions the setup programs use on the network provider
; order, run under Wine: each line below is a list, a name and what the
; list must become. Writes one line per failed case and a summary to
; ${RESULTS}; the exit code is the number of failed cases.
Unicode true
Target amd64-unicode
SilentInstall silent
RequestExecutionLevel user
OutFile "${OUTFILE}"
Name "CommaListTest"

!addincludedir "${__FILEDIR__}\..\..\..\packaging\windows\include"
; The include brings its uninstaller twins, which this program never uses.
!pragma warning disable 6010
!pragma warning disable 6020
!include LogicLib.nsh
!include CommaList.nsh

Var Out
Var Cases
Var Failures

!macro Expect what list name got expected
  IntOp $Cases $Cases + 1
  ${If} "${got}" S!= "${expected}"
    IntOp $Failures $Failures + 1
    FileWrite $Out `FAILED: ${what} "${list}" "${name}" gave "${got}", expected "${expected}"$\r$\n`
  ${EndIf}
!macroend

!macro Has list name expected
  ${CommaListHas} $0 "${list}" "${name}"
  !insertmacro Expect has "${list}" "${name}" $0 "${expected}"
!macroend

!macro Append list name expected
  ${CommaListAppend} $0 "${list}" "${name}"
  !insertmacro Expect append "${list}" "${name}" $0 "${expected}"
!macroend

; Removing must also undo appending, byte for byte.
!macro Remove list name expected
  ${CommaListRemove} $0 "${list}" "${name}"
  !insertmacro Expect remove "${list}" "${name}" $0 "${expected}"
!macroend

!macro RoundTrip list name
  ${CommaListAppend} $1 "${list}" "${name}"
  ${CommaListRemove} $0 $1 "${name}"
  !insertmacro Expect "append then remove" "${list}" "${name}" $0 "${list}"
!macroend

Section
  FileOpen $Out "$EXEDIR\${RESULTS}" w
  StrCpy $Cases 0
  StrCpy $Failures 0

  !insertmacro Has "" "vtrelnp" 0
  !insertmacro Has "vtrelnp" "vtrelnp" 1
  !insertmacro Has "vtrelnp,a,b" "vtrelnp" 1
  !insertmacro Has "a,vtrelnp,b" "vtrelnp" 1
  !insertmacro Has "a,b,vtrelnp" "vtrelnp" 1
  !insertmacro Has "a,VTRELNP" "vtrelnp" 1
  !insertmacro Has "vtrelnpx,xvtrelnp,vtrel,avtrelnpb" "vtrelnp" 0
  !insertmacro Has "vtrelnp2" "vtrelnp" 0
  !insertmacro Has "trelnp,vtrelnp " "vtrelnp" 0
  !insertmacro Has "a,,b," "vtrelnp" 0
  !insertmacro Has "a,,b," "" 1
  !insertmacro Has "RDPNP,LanmanWorkstation,webclient" "LanmanWorkstation" 1

  !insertmacro Append "" "vtrelnp" "vtrelnp"
  !insertmacro Append "a" "vtrelnp" "a,vtrelnp"
  !insertmacro Append "a,b" "vtrelnp" "a,b,vtrelnp"
  !insertmacro Append "a," "vtrelnp" "a,,vtrelnp"

  !insertmacro Remove "vtrelnp" "vtrelnp" ""
  !insertmacro Remove "vtrelnp,a,b" "vtrelnp" "a,b"
  !insertmacro Remove "a,vtrelnp,b" "vtrelnp" "a,b"
  !insertmacro Remove "a,b,vtrelnp" "vtrelnp" "a,b"
  !insertmacro Remove "a,VtRelNp,b" "vtrelnp" "a,b"
  !insertmacro Remove "vtrelnp,a,vtrelnp,b,vtrelnp" "vtrelnp" "a,b"
  !insertmacro Remove "vtrelnpx,vtrelnp,xvtrelnp" "vtrelnp" "vtrelnpx,xvtrelnp"
  !insertmacro Remove "vtrelnpx,xvtrelnp,vtrel" "vtrelnp" "vtrelnpx,xvtrelnp,vtrel"
  !insertmacro Remove "a,,vtrelnp" "vtrelnp" "a,"
  !insertmacro Remove "vtrelnp,,a" "vtrelnp" ",a"
  !insertmacro Remove "" "vtrelnp" ""
  !insertmacro Remove "Lanman Workstation,vtrelnp" "vtrelnp" "Lanman Workstation"

  !insertmacro RoundTrip "" "vtrelnp"
  !insertmacro RoundTrip "RDPNP,LanmanWorkstation,webclient" "vtrelnp"
  !insertmacro RoundTrip "vtrelnpx,xvtrelnp" "vtrelnp"
  !insertmacro RoundTrip "a,,b" "vtrelnp"
  !insertmacro RoundTrip "a," "vtrelnp"
  !insertmacro RoundTrip ",a" "vtrelnp"

  ; The longest list an NSIS string holds still takes a name of the
  ; length that keeps it within bounds, and no longer one.
  StrCpy $2 ""
  ${For} $3 1 1015
    StrCpy $2 "$2x"
  ${Next}
  ${CommaListFits} $0 $2 "vtrelnp"
  !insertmacro Expect fits "1015 x" "vtrelnp" $0 1
  StrCpy $2 "$2x"
  ${CommaListFits} $0 $2 "vtrelnp"
  !insertmacro Expect fits "1016 x" "vtrelnp" $0 0

  FileWrite $Out "commalist: $Cases cases, $Failures failed$\r$\n"
  FileClose $Out
  SetErrorLevel $Failures
SectionEnd
