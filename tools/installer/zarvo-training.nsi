; The Windows installer of one edition of Zarvo Training (makensis 3, 64-bit Unicode).
;   makensis -DEDITION=en|fr -DVERSION=1.1 -DSTAGE=<cmake --install folder> -DOUTFILE=<setup.exe>
;             zarvo-training.nsi
; The program reads and writes its data in its own folder, "C:\Program Files\Zarvo Training", so
; the folder is fixed, standard users are given modify rights on it, and the data files that the
; user changes (databases, runs archives, settings, sessions) are installed only when missing:
; installing over an older version, or the other edition into the same folder, keeps them.
; Uninstalling removes this edition; the last edition to go asks before it removes the data
; (a silent uninstall keeps it).

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
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZarvoTraining-${EDITION}"
!if "${EDITION}" == "en"
  !define OTHER_EXE "zarvo-training-fr.exe"
  !define EDITION_NAME "${PRODUCT} (English)"
  !define LANGUAGE "English"
!else if "${EDITION}" == "fr"
  !define OTHER_EXE "zarvo-training-en.exe"
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
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "${LANGUAGE}"

!if "${EDITION}" == "en"
  !define TXT_UNINSTALL_CAPTION "${EDITION_NAME}: uninstall"
  !define TXT_WRONG_WINDOWS "${EDITION_NAME} needs a 64-bit Windows."
  !define TXT_REMOVE_DATA "Do you also want to remove your data from $INSTDIR?$\r$\n(databases of circuits, drivers and cars, runs archives, sessions and settings)$\r$\n$\r$\nAnswer No to keep them for a later installation."
!else
  !define TXT_UNINSTALL_CAPTION "${EDITION_NAME} : désinstallation"
  !define TXT_WRONG_WINDOWS "${EDITION_NAME} nécessite un Windows 64 bits."
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

Section "Program"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  ; The program and its guides are replaced by those of this version.
  SetOverwrite on
  File "${STAGE}\${EXE}"
  SetOutPath "$INSTDIR\Guides"
  File /nonfatal /r "${STAGE}\Guides\*"
  ; Everything else is the user's once installed: only what is missing is added.
  SetOverwrite off
  SetOutPath "$INSTDIR"
  File /r /x "*.exe" /x "Guides" "${STAGE}\*"
  CreateDirectory "$INSTDIR\Private"
  CreateDirectory "$INSTDIR\Base données runs"
  SetOverwrite on

  ; A club account without administrator rights writes the program's data in this folder.
  ; The Users group is named by its well-known SID: its name depends on the Windows language.
  nsExec::ExecToLog 'icacls "$INSTDIR" /grant *S-1-5-32-545:(OI)(CI)M /T /C /Q'
  Pop $0
  DetailPrint "icacls: $0"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${EDITION_NAME}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${EDITION_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\${EXE}"
  Delete "$SMPROGRAMS\${PRODUCT}\${EDITION_NAME}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; The other edition, still installed, goes on using the folder and its data.
  ${IfNot} ${FileExists} "$INSTDIR\${OTHER_EXE}"
    RMDir /r "$INSTDIR\Guides"
    RMDir /r "$INSTDIR\images"
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "${TXT_REMOVE_DATA}" /SD IDNO IDNO keep
      ; Only the program's own folder is ever removed whole (an uninstaller copied elsewhere, or
      ; given another folder with "_?=", must not empty that one).
      StrCpy $0 "$INSTDIR" "" -14
      StrCmp $0 "${PRODUCT}" 0 keep
      RMDir /r "$INSTDIR"
    keep:
    RMDir "$INSTDIR"
  ${EndIf}
SectionEnd
