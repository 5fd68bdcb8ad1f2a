function refresh() {
  var r = new XMLHttpRequest();
  r.open("GET", "/status", true);
  r.onreadystatechange = function () {
    if (r.readyState == 4 && r.status == 200) {
      var v = r.responseText.split(",");
      var ids = ["name", "s1", "s2", "e1", "e2"];
      for (var i = 0; i < ids.length && i < v.length; i++) {
        var e = document.getElementById(ids[i]);
        if (e) e.innerHTML = v[i];
      }
    }
  };
  r.send(null);
}
setInterval(refresh, 2000);
refresh();
