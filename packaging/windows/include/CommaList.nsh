; Comma-separated name lists, as Windows keeps its network provider order.
; A name matches an entry only as a whole ("vtrelnp" is not in
; "vtrelnpx,xvtrelnp") and without regard to case, as registry key names
; compare. Every other entry, empty ones included, keeps its text and its
; place, so that adding a name and removing it again gives back the list
; byte for byte.
;
;   ${CommaListHas}    $out "list" "name"   $out = 1 or 0
;   ${CommaListAppend} $out "list" "name"   "list,name" ("name" for "")
;   ${CommaListRemove} $out "list" "name"   every entry equal to name gone,
;                                            each with one separator
;
; NSIS strings hold at most COMMALIST_MAX_CHARS characters: a caller that
; appends checks the length of the result first (CommaListFits).
!ifndef COMMALIST_NSH
!define COMMALIST_NSH

!include LogicLib.nsh

!define /math COMMALIST_MAX_CHARS ${NSIS_MAX_STRLEN} - 1

!macro COMMALIST_FUNCTIONS un
; Stack in: list, name (top). Out: "1" or "0".
Function ${un}CommaListHas
  Exch $1
  Exch
  Exch $0
  Push $2 ; found
  Push $3 ; current entry
  Push $4 ; character
  Push $5 ; index
  StrCpy $2 0
  StrCpy $3 ""
  StrCpy $5 0
  ${Do}
    StrCpy $4 $0 1 $5
    ${If} $4 == ","
    ${OrIf} $4 == ""
      ${If} $3 == $1
        StrCpy $2 1
        ${ExitDo}
      ${EndIf}
      ${IfThen} $4 == "" ${|} ${ExitDo} ${|}
      StrCpy $3 ""
    ${Else}
      StrCpy $3 "$3$4"
    ${EndIf}
    IntOp $5 $5 + 1
  ${Loop}
  StrCpy $0 $2
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Exch
  Pop $1
  Exch $0
FunctionEnd

; Stack in: list, name (top). Out: the list without the name's entries.
Function ${un}CommaListRemove
  Exch $1
  Exch
  Exch $0
  Push $2 ; result
  Push $3 ; current entry
  Push $4 ; character
  Push $5 ; index
  Push $6 ; entries kept so far
  StrCpy $2 ""
  StrCpy $3 ""
  StrCpy $5 0
  StrCpy $6 0
  ${Do}
    StrCpy $4 $0 1 $5
    ${If} $4 == ","
    ${OrIf} $4 == ""
      ${If} $3 != $1
        ${If} $6 = 0
          StrCpy $2 "$3"
        ${Else}
          StrCpy $2 "$2,$3"
        ${EndIf}
        IntOp $6 $6 + 1
      ${EndIf}
      ${IfThen} $4 == "" ${|} ${ExitDo} ${|}
      StrCpy $3 ""
    ${Else}
      StrCpy $3 "$3$4"
    ${EndIf}
    IntOp $5 $5 + 1
  ${Loop}
  StrCpy $0 $2
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Exch
  Pop $1
  Exch $0
FunctionEnd
!macroend

!insertmacro COMMALIST_FUNCTIONS ""
!insertmacro COMMALIST_FUNCTIONS "un."

!macro CommaListCall function out list name
  Push "${list}"
  Push "${name}"
  !ifdef __UNINSTALL__
    Call un.${function}
  !else
    Call ${function}
  !endif
  Pop ${out}
!macroend

!macro CommaListAppendCall out list name
  ${If} "${list}" == ""
    StrCpy ${out} "${name}"
  ${Else}
    StrCpy ${out} "${list},${name}"
  ${EndIf}
!macroend

; $out = 1 when "list" with ",name" appended still fits an NSIS string.
!macro CommaListFitsCall out list name
  Push $R9
  Push $R8
  StrLen $R9 "${list}"
  StrLen $R8 "${name}"
  IntOp $R9 $R9 + $R8
  IntOp $R9 $R9 + 1
  ${If} $R9 <= ${COMMALIST_MAX_CHARS}
    StrCpy $R9 1
  ${Else}
    StrCpy $R9 0
  ${EndIf}
  Pop $R8
  Exch $R9
  Pop ${out}
!macroend

!define CommaListHas "!insertmacro CommaListCall CommaListHas"
!define CommaListRemove "!insertmacro CommaListCall CommaListRemove"
!define CommaListAppend "!insertmacro CommaListAppendCall"
!define CommaListFits "!insertmacro CommaListFitsCall"

!endif
