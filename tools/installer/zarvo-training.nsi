; The Windows installer of one edition of Zarvo Training (makensis 3, 64-bit Unicode).
;   makensis -DEDITION=en|fr -DVERSION=1.1 -DSTAGE=<staged components> -DOUTFILE=<setup.exe>
;             zarvo-training.nsi
; STAGE holds the three components of "cmake --install" apart (programs, shipped, user) and
; shipped-files.nsh, which names every shipped file and folder for the uninstaller.
; The program reads and writes its data in its own folder, "C:\Program Files\Zarvo Training", so
; the folder is fixed and standard users are given modify rights on it. The programs and their
; uninstallers live apart in its folder "Programmes", which only administrators may change: an
; administrator who starts the program or uninstalls it never runs what a standard user put
; there (a replaced program, or a library the program would load from its own folder).
; What the program ships (guides, sounds, pictures, the countries database) is replaced by every
; installation; the user's files (the other databases, runs archives, settings, sessions) are
; installed only when missing: installing over an older version, or the other edition into the
; same folder, keeps them. Uninstalling removes this edition; the last edition to go removes what
; was shipped and asks before it removes the user's data (a silent uninstall keeps it).

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!ifndef EDITION
  !error "EDITION must be en or fr"
!endif
!ifndef VERSION
  !error "VERSION must be given (major.minor)"
!endif
!ifndef STAGE
  !error "STAGE must name the folder that cmake --install filled"
!endif
!ifndef OUTFILE
  !define OUTFILE "zarvo-training-${EDITION}-setup.exe"
!endif

!define PRODUCT "Zarvo Training"
!define PUBLISHER "Zarvo"
!define EXE "zarvo-training-${EDITION}.exe"
!define UNINSTALLER "uninstall-${EDITION}.exe"
!define PROGRAMS "$INSTDIR\Programmes"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZarvoTraining-${EDITION}"
!if "${EDITION}" == "en"
  !define OTHER_EXE "zarvo-training-fr.exe"
  !define OTHER_UNINSTALLER "uninstall-fr.exe"
  !define EDITION_NAME "${PRODUCT} (English)"
  !define LANGUAGE "English"
!else if "${EDITION}" == "fr"
  !define OTHER_EXE "zarvo-training-en.exe"
  !define OTHER_UNINSTALLER "uninstall-en.exe"
  !define EDITION_NAME "${PRODUCT} (Français)"
  !define LANGUAGE "French"
!else
  !error "EDITION must be en or fr"
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

Name "${EDITION_NAME}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${EDITION_NAME} ${VERSION}"
VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=0 "ProductName" "${EDITION_NAME}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${EDITION_NAME} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

!define MUI_ICON "${SOURCE}\resources\zarvo.ico"
!define MUI_UNICON "${SOURCE}\resources\zarvo.ico"
; No "Run now" on the finish page: it would start the program as the administrator who installed
; it, with rights over the whole machine. The Start-menu entry starts it as the club's user.
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "${LANGUAGE}"

!if "${EDITION}" == "en"
  !define TXT_UNINSTALL_CAPTION "${EDITION_NAME}: uninstall"
  !define TXT_WRONG_WINDOWS "${EDITION_NAME} needs a 64-bit Windows."
  !define TXT_RIGHTS_FAILED "The access rights of $INSTDIR could not be set (icacls: $0).$\r$\nThe installation is stopped."
  !define TXT_REMOVE_DATA "Do you also want to remove your data from $INSTDIR?$\r$\n(databases of circuits, drivers and cars, runs archives, sessions and settings)$\r$\n$\r$\nAnswer No to keep them for a later installation."
!else
  !define TXT_UNINSTALL_CAPTION "${EDITION_NAME} : désinstallation"
  !define TXT_WRONG_WINDOWS "${EDITION_NAME} nécessite un Windows 64 bits."
  !define TXT_RIGHTS_FAILED "Les droits d'accès de $INSTDIR n'ont pas pu être définis (icacls : $0).$\r$\nL'installation est arrêtée."
  !define TXT_REMOVE_DATA "Voulez-vous aussi supprimer vos données de $INSTDIR ?$\r$\n(bases de données circuits, pilotes et voitures, archives des runs, séances et réglages)$\r$\n$\r$\nRépondez Non pour les garder pour une installation ultérieure."
!endif

Caption "${EDITION_NAME} ${VERSION}"
UninstallCaption "${TXT_UNINSTALL_CAPTION}"

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "${TXT_WRONG_WINDOWS}" /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
  ; The program always works in this folder: a /D= given on the command line is not followed.
  StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
FunctionEnd

; Access rights by icacls, from the system folder (never one found beside the installer), named
; by well-known SIDs since the group names depend on the Windows language: S-1-5-18 the system,
; S-1-5-32-544 Administrators, S-1-5-32-545 Users. Rights that cannot be set stop the
; installation: a program folder that standard users could change must not be installed.
!macro SetRights ARGUMENTS
  nsExec::ExecToLog '"$SYSDIR\icacls.exe" ${ARGUMENTS}'
  Pop $0
  ${If} $0 != 0
    DetailPrint 'icacls ${ARGUMENTS}: $0'
    MessageBox MB_OK|MB_ICONSTOP "${TXT_RIGHTS_FAILED}" /SD IDOK
    Abort
  ${EndIf}
!macroend

; The live results server of the program answers the phones of the club network: an inbound
; rule of the Windows firewall lets this edition's program be reached on private networks (never
; on public ones). The rule of an earlier installation is removed first, so that installing again
; leaves one rule. A firewall that cannot be told (netsh missing or refusing) does not stop the
; installation: the program works, the phones may not reach it, and the details say why.
!define FIREWALL_RULE "${EDITION_NAME}"
!define NETSH '"$SYSDIR\netsh.exe" advfirewall firewall'
!macro RemoveFirewallRule
  nsExec::ExecToLog '${NETSH} delete rule name="${FIREWALL_RULE}" program="${PROGRAMS}\${EXE}"'
  Pop $0
!macroend

; The programs folder holds only the programs and uninstallers of the two editions: whatever
; else is there was put by someone else (a standard user, while the folder was not yet locked).
Function RemoveForeignFiles
  FindFirst $1 $2 "${PROGRAMS}\*"
  ${DoWhile} $2 != ""
    ${If} $2 != "."
    ${AndIf} $2 != ".."
    ${AndIf} $2 != "${EXE}"
    ${AndIf} $2 != "${UNINSTALLER}"
    ${AndIf} $2 != "${OTHER_EXE}"
    ${AndIf} $2 != "${OTHER_UNINSTALLER}"
      Delete "${PROGRAMS}\$2"
      RMDir /r "${PROGRAMS}\$2"
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
FunctionEnd

Section "Program"
  SetShellVarContext all
  ; The rights first, so that every file installed takes them from its folder. The programs
  ; folder: owned by the administrators (a folder made by someone else loses its owner's rights),
  ; every older right reset, then only its own: the system and administrators full control,
  ; users read and execute.
  CreateDirectory "${PROGRAMS}"
  !insertmacro SetRights '"${PROGRAMS}" /setowner *S-1-5-32-544 /T /C /Q'
  !insertmacro SetRights '"${PROGRAMS}" /reset /T /C /Q'
  !insertmacro SetRights '"${PROGRAMS}" /inheritance:r /grant:r *S-1-5-18:(OI)(CI)F *S-1-5-32-544:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX /C /Q'
  Call RemoveForeignFiles
  ; A club account without administrator rights writes the program's data in the folder: users
  ; may modify it, and what is made in it later, except in the programs folder.
  !insertmacro SetRights '"$INSTDIR" /grant *S-1-5-32-545:(OI)(CI)M /C /Q'

  ; This edition's program and uninstaller where an older version put them, among the data.
  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\${UNINSTALLER}"

  SetOverwrite on
  SetOutPath "${PROGRAMS}"
  File "${STAGE}\programs\${EXE}"
  ; What the program ships is replaced by this version's.
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\shipped\*"
  ; Everything else is the user's once installed: only what is missing is added.
  SetOverwrite off
  File /r "${STAGE}\user\*"
  SetOverwrite on
  CreateDirectory "$INSTDIR\Private"
  CreateDirectory "$INSTDIR\Base données runs"

  !insertmacro RemoveFirewallRule
  nsExec::ExecToLog '${NETSH} add rule name="${FIREWALL_RULE}" dir=in action=allow program="${PROGRAMS}\${EXE}" profile=private enable=yes'
  Pop $0
  ${If} $0 != 0
    DetailPrint "netsh advfirewall firewall add rule: $0 (the phones may not reach the live results)"
  ${EndIf}

  ; Started from the Start menu, the program works in its data folder.
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${EDITION_NAME}.lnk" "${PROGRAMS}\${EXE}" "" "${PROGRAMS}\${EXE}" 0

  WriteUninstaller "${PROGRAMS}\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${EDITION_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${PROGRAMS}\${EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"${PROGRAMS}\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"${PROGRAMS}\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Function un.onInit
  SetRegView 64
  ; The uninstaller lives in the programs folder; the data folder is the program's fixed one.
  StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  !insertmacro RemoveFirewallRule
  Delete "${PROGRAMS}\${EXE}"
  Delete "$INSTDIR\${EXE}"
  Delete "$SMPROGRAMS\${PRODUCT}\${EDITION_NAME}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "${PROGRAMS}\${UNINSTALLER}"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "${PROGRAMS}"
  ; The other edition, still installed, goes on using the folder and its data.
  ${IfNot} ${FileExists} "${PROGRAMS}\${OTHER_EXE}"
  ${AndIfNot} ${FileExists} "$INSTDIR\${OTHER_EXE}"
    ; What was shipped goes, file by file: a folder that holds a file of the user's stays.
    !include "${STAGE}\shipped-files.nsh"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "${TXT_REMOVE_DATA}" /SD IDNO IDNO keep
      ; Only the program's own folder is ever removed whole.
      StrCpy $0 "$INSTDIR" "" -14
      StrCmp $0 "${PRODUCT}" 0 keep
      RMDir /r "$INSTDIR"
    keep:
    RMDir "$INSTDIR"
  ${EndIf}
SectionEnd
