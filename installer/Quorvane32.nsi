; Installs Quorvane 32: the program, its help files (HTML Help and WinHelp) and the Explorer extension of the
; machine's bitness; registers the extension, makes the file associations through the
; program itself ("Zentp32 /R"), and writes an uninstaller that removes all of it.
;
; The build passes: QV_PROGRAM, QV_HELP, QV_HTML_HELP (files to install), QV_OUTFILE, QV_HOOK64 (the 64-bit
; extension) and either QV_HOOK32 (the 32-bit installer, which carries both extensions and
; installs the one that the machine's Explorer loads) or QV_AMD64 (a 64-bit installer for
; 64-bit Windows only).

!ifdef QV_AMD64
  Target amd64-unicode
!else
  Unicode true
!endif
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include x64.nsh

!define PRODUCT "Quorvane 32"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvane32"
!define SETTINGS_KEY "Software\Orvanta, Inc.\Zentrel32\2.0"
; Exit code of a silent run whose extension could not be registered.
!define EXIT_NOT_REGISTERED 2

Name "${PRODUCT}"
OutFile "${QV_OUTFILE}"
RequestExecutionLevel admin
!ifdef QV_AMD64
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The extension is registered and unregistered by its own entry points, run by the regsvr32
; of the extension's bitness: on 64-bit Windows a 32-bit installer reaches the 64-bit one
; only with the file-system redirection off.
!macro RunRegsvr32 SWITCHES
  !ifndef QV_AMD64
    ${If} ${RunningX64}
      ${DisableX64FSRedirection}
    ${EndIf}
  !endif
  ExecWait '"$SYSDIR\regsvr32.exe" ${SWITCHES} "$INSTDIR\Zenthook.dll"' $0
  !ifndef QV_AMD64
    ${If} ${RunningX64}
      ${EnableX64FSRedirection}
    ${EndIf}
  !endif
!macroend

; Removes an extension's association only while it still names this program's file type.
!macro RemoveAssociation EXTENSION FILETYPE
  ReadRegStr $1 HKCR "${EXTENSION}" ""
  ${If} $1 == "${FILETYPE}"
    DeleteRegKey HKCR "${EXTENSION}"
  ${EndIf}
!macroend

Section "Install"
  SetOutPath "$INSTDIR"
  File "/oname=Zentp32.exe" "${QV_PROGRAM}"
  File "/oname=Zentp32.hlp" "${QV_HELP}"
  File "/oname=Zentp32.chm" "${QV_HTML_HELP}"
!ifdef QV_AMD64
  File "/oname=Zenthook.dll" "${QV_HOOK64}"
!else
  ${If} ${RunningX64}
    File "/oname=Zenthook.dll" "${QV_HOOK64}"
  ${Else}
    File "/oname=Zenthook.dll" "${QV_HOOK32}"
  ${EndIf}
!endif
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Orvanta, Inc."

  !insertmacro RunRegsvr32 "/s"
  ${If} $0 != 0
    DetailPrint "regsvr32 failed with $0"
    MessageBox MB_OK|MB_ICONSTOP "The Explorer extension could not be registered." /SD IDOK
    SetErrorLevel ${EXIT_NOT_REGISTERED}
  ${EndIf}
  ; The program makes the file associations and records its path for the extension.
  ExecWait '"$INSTDIR\Zentp32.exe" /R'
SectionEnd

Section "Uninstall"
  !insertmacro RunRegsvr32 "/u /s"
  !insertmacro RemoveAssociation ".uue" "UUEncodedFile"
  !insertmacro RemoveAssociation ".uu" "UUEncodedFile"
  !insertmacro RemoveAssociation ".xxe" "XXEncodedFile"
  !insertmacro RemoveAssociation ".xx" "XXEncodedFile"
  !insertmacro RemoveAssociation ".mme" "MIMEEncodedFile"
  !insertmacro RemoveAssociation ".mm" "MIMEEncodedFile"
  !insertmacro RemoveAssociation ".b64" "MIMEEncodedFile"
  !insertmacro RemoveAssociation ".hqx" "BinhexEncodedFile"
  !insertmacro RemoveAssociation ".hex" "BinhexEncodedFile"
  DeleteRegKey HKCR "UUEncodedFile"
  DeleteRegKey HKCR "XXEncodedFile"
  DeleteRegKey HKCR "MIMEEncodedFile"
  DeleteRegKey HKCR "BinhexEncodedFile"
  ; The user's options stay; the path of the removed program goes.
  DeleteRegValue HKCU "${SETTINGS_KEY}" "fullpath"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; An Explorer that still has the extension loaded keeps its file until the next start.
  Delete /REBOOTOK "$INSTDIR\Zenthook.dll"
  Delete "$INSTDIR\Zentp32.exe"
  Delete "$INSTDIR\Zentp32.hlp"
  Delete "$INSTDIR\Zentp32.chm"
  Delete "$INSTDIR\Zentp32.gid"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"
SectionEnd
