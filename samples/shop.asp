<%@ Language=VBScript %>
<%
Option Explicit

' shop.asp - a small shop: cart, prices and an order page
Dim cartCount, cartTotal
Const TAX_RATE = 0.2

Function PriceWithTax(price)
  Dim taxed
  taxed = price * (1 + TAX_RATE)
  If taxed < 0 Then
    taxed = 0
  End If
  PriceWithTax = Round(taxed, 2)
End Function

Function ItemLabel(name, qty)
	If qty = 1 Then
		ItemLabel = name
	ElseIf qty > 1 Then
		ItemLabel = qty & " x " & name
	Else
		ItemLabel = "(none)"
	End If
End Function

Sub AddToCart(name, price, qty)
  cartCount = cartCount + qty
  cartTotal = cartTotal + PriceWithTax(price) * qty
  Call WriteRow(ItemLabel(name, qty), PriceWithTax(price) * qty)
End Sub

Sub WriteRow(label, amount)
  Response.Write "<tr><td>" & Server.HTMLEncode(label) & "</td>"
  Response.Write "<td>" & FormatNumber(amount, 2) & "</td></tr>" & vbCrLf
End Sub

Private Sub ShowTotal()
  Dim shipping
  If cartTotal > 100 Then shipping = 0 Else shipping = 5.95
  Call WriteRow("Shipping", shipping)
  Call WriteRow("Total", cartTotal + shipping)
End Sub
%>
<html>
<body>
<table>
<%
cartCount = 0
cartTotal = 0
Call AddToCart("Tea", 3.5, 2)
Call AddToCart("Cups", 12, 1)
ShowTotal
%>
</table>
</body>
</html>
