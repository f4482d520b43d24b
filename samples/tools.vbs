' tools.vbs - file helpers for the shop's nightly job
Option Explicit

Dim fso, logFile
Set fso = CreateObject("Scripting.FileSystemObject")

Function ReadAll(path)
  Dim stream
  If Not fso.FileExists(path) Then
    ReadAll = ""
    Exit Function
  End If
  Set stream = fso.OpenTextFile(path, 1)
  ReadAll = stream.ReadAll
  stream.Close
End Function

Sub WriteLog(message)
  If IsEmpty(logFile) Then
    Set logFile = fso.OpenTextFile("nightly.log", 8, True)
  End If
  logFile.WriteLine Now & " " & message
End Sub

Function CountLines(text)
  Dim parts
  If Len(text) = 0 Then
    CountLines = 0
  ElseIf InStr(text, vbLf) = 0 Then
    CountLines = 1
  Else
    parts = Split(text, vbLf)
    CountLines = UBound(parts) + 1
  End If
End Function

Call WriteLog("start")
Call WriteLog("orders: " & CountLines(ReadAll("orders.txt")))
