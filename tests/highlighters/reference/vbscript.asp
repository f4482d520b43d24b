<%@ Language="VBScript" %>
<%
' Order desk: a small classic page written to reach every token of the VBScript rules.
Option Explicit
Response.Buffer = True

Const TAX_RATE = 0.19
Const MAX_ROWS = 250
Const OPENED = #1/15/2024#
Const HEX_MASK = &HFF
Const OCT_MASK = &O17
Const BIG = 1.5E+10

Dim conn, rs, sql, total, i
Dim names(10), prices(10)
ReDim Preserve names(20)

REM the connection string comes from the application
Set conn = Server.CreateObject("ADODB.Connection")
conn.Open Application("dsn")

Function Quote(text)
    ' doubles every quote so the text can stand in SQL
    Quote = "'" & Replace(text, "'", "''") & "'"
End Function

Function Money(amount)
    If IsNull(amount) Then
        Money = "-"
    ElseIf amount < 0 Then
        Money = "(" & FormatNumber(-amount, 2) & ")"
    Else
        Money = FormatNumber(amount, 2)
    End If
End Function

Private Function Clamp(value, low, high)
    If value <= low Then Clamp = low : Exit Function
    If value >= high Then Clamp = high : Exit Function
    Clamp = value
End Function

Public Sub WriteRow(name, price)
    Response.Write "<tr><td>" & Server.HTMLEncode(name) & "</td>"
    Response.Write "<td align=""right"">" & Money(price) & "</td></tr>" & vbCrLf
End Sub

Sub WriteHeader()
    Dim title
    title = "Orders of " & Year(Date)
    Response.Write "<h1>" & title & "</h1>"
End Sub

Sub LoadOrders(customer)
    Dim where
    where = ""
    If Len(customer) > 0 Then where = " WHERE customer = " & Quote(customer)
    sql = "SELECT name, price FROM orders" & where & " ORDER BY name"
    Set rs = conn.Execute(sql)
    i = 0
    Do While Not rs.EOF And i < MAX_ROWS
        names(i) = rs("name")
        prices(i) = rs("price") * (1 + TAX_RATE)
        i = i + 1
        rs.MoveNext
    Loop
    rs.Close
End Sub

Function Discount(kind, amount)
    Select Case kind
        Case "gold"
            Discount = amount * 0.8
        Case "silver", "bronze"
            Discount = amount * 0.9
        Case Else
            Discount = amount
    End Select
End Function

Sub Totals()
    Dim n
    total = 0
    For n = 0 To i - 1 Step 1
        total = total + prices(n)
    Next
    If total > 1000 And Not IsEmpty(Session("vip")) Then
        total = Discount("gold", total)
    ElseIf total > 500 Or Session("member") = True Then
        total = Discount("silver", total)
    End If
End Sub

Class Basket
    Private items
    Private count_

    Private Sub Class_Initialize()
        Set items = CreateObject("Scripting.Dictionary")
        count_ = 0
    End Sub

    Public Property Get Count()
        Count = count_
    End Property

    Public Property Let Label(value)
        items("label") = value
    End Property

    Public Function Add(key, qty)
        If items.Exists(key) Then
            items(key) = items(key) + qty
        Else
            items.Add key, qty
            count_ = count_ + 1
        End If
        Add = count_
    End Function
End Class

Dim basket
Set basket = New Basket
Call basket.Add("pen", 2)
Call basket.Add("ink", 1)
basket.Label = "café order"

Call WriteHeader()
Call LoadOrders(Request.QueryString("customer"))
Call Totals

With Response
    .Write "<p>Rows: " & i & "</p>"
    .Write "<p>Opened " & OPENED & "</p>"
End With

On Error Resume Next
Dim weird
weird = 10 Mod 3 + 7 \ 2 - 2 ^ 3
weird = weird Xor 1
weird = (weird Eqv 0) Imp True
If Err.Number <> 0 Then Response.Write "error: " & Err.Description
On Error GoTo 0

' comparisons and the odd characters the rules pass through
If i <> 0 Then Response.Write "<" & ">"
If i => 1 Then Response.Write "=>"
x = [bracketed name] ? @ $ ! %
y = "unterminated string
z = #not a date
' Loops of every shape, and a line continued with an underscore.
Sub Loops()
    Dim k, word, list
    list = Array("alpha", "beta", _
                 "gamma")
    For Each word In list
        If word = "beta" Then Exit For
    Next
    k = 0
    Do Until k >= 3
        k = k + 1
    Loop
    Do
        k = k - 1
    Loop While k > 0
    While k < 2
        k = k + 1
    Wend
    If k = 2 Then
        If word <> "" Then
            Call Report(word, k)
        Else
            Exit Sub
        End If
    End If
End Sub

Sub Report(ByVal label, ByRef count)
    Dim line : line = label & ": " & CStr(count)
    Response.Write Server.HTMLEncode(line) & "<br>"
End Sub

Class Customer
    Private m_name, m_orders

    Public Property Set Orders(value)
        Set m_orders = value
    End Property

    Public Property Get Name
        Name = m_name
    End Property

    Public Default Function Describe()
        Describe = "Customer " & m_name
    End Function
End Class

Dim shopper : Set shopper = New Customer
Call Loops()
Call Report("rows", i)
Report "done", 1
%>
<html>
<head><title>Orders</title></head>
<body>
<table>
<%
For i = 0 To UBound(names)
    If Not IsEmpty(names(i)) Then WriteRow names(i), prices(i)
Next
%>
</table>
<p>Total: <%= Money(total) %></p>
<script language="VBScript">
Sub window_onload()
    MsgBox "Loaded", vbInformation, "Orders"
End Sub
</script>
</body>
</html>
<%
	' a tab-indented comment, then lines that end in CR LF
If total = 0 Then
    Response.Write "nothing"
End If
%>
