// cart.js - the shop's cart on the client side
var cart = [];
var taxRate = 0.2;
var dim = { width: 320, height: 200 };

function priceWithTax(price) {
  var taxed = price * (1 + taxRate);
  if (taxed < 0) {
    taxed = 0;
  }
  return Math.round(taxed * 100) / 100;
}

function addToCart(name, price, qty) {
  cart.push({ name: name, price: price, qty: qty });
  if (qty > 1) {
    showMessage(qty + " x " + name);
  } else if (qty == 1) {
    showMessage(name);
  } else {
    showMessage("nothing added");
  }
}

function cartTotal() {
  var total = 0, i;
  for (i = 0; i < cart.length; i++) total += priceWithTax(cart[i].price) * cart[i].qty;
  return total;
}

// call showMessage for every line the user should see
function showMessage(text) {
  document.getElementById("message").innerHTML = text;
}
